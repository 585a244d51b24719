#pragma once

#include "framework/CWinApp.h"
#include "framework/ProfileStore.h"

// The application's INI file one key at a time, through the application object's profile
// functions: for the few settings that are written on their own (the window's position).
class AppProfileStore : public ProfileStore {
public:
    explicit AppProfileStore(CWinApp& app) : m_app(app) {}

    int ReadInt(const char* section, const char* key, int defaultValue) const override;
    CString ReadString(const char* section, const char* key,
                       const char* defaultValue = "") const override;
    void WriteInt(const char* section, const char* key, int value) override;
    void WriteString(const char* section, const char* key, const char* value) override;

private:
    CWinApp& m_app;
};
