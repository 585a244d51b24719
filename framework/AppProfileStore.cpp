#include "framework/AppProfileStore.h"

int AppProfileStore::ReadInt(const char* section, const char* key, int defaultValue) const {
    return m_app.GetProfileInt(section, key, defaultValue);
}

CString AppProfileStore::ReadString(const char* section, const char* key,
                                    const char* defaultValue) const {
    return m_app.GetProfileString(section, key, defaultValue);
}

void AppProfileStore::WriteInt(const char* section, const char* key, int value) {
    m_app.WriteProfileInt(section, key, value);
}

void AppProfileStore::WriteString(const char* section, const char* key, const char* value) {
    m_app.WriteProfileString(section, key, value);
}
