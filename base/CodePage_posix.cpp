#include "base/CodePage.h"

#include <cstdlib>

CodePage CodePage::FromSystem() {
    // The locale's name says it all; loading the locale's data only to ask it for its codeset
    // would cost a stamping run more than its own work on a small script.
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* name = std::getenv(variable);
        if (name && *name)
            return FromLocaleName(name);
    }
    return SingleByte();
}
