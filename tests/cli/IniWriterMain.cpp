// Saves the settings file over and over until killed: every save writes each key of
// [Option] with one generation's value.
#include <cstdlib>
#include <string>

#include "settings/clsIniFile.h"

int main(int argc, char* argv[]) {
    if (argc != 2) return 2;
    karvel::clsIniFile ini;
    ini.pFileName(argv[1]);
    for (int generation = 0;; ++generation) {
        const std::string value(100, static_cast<char>('0' + generation % 10));
        for (const char* key : {"StartNo", "Colummn", "Type", "TimeUpd", "NextOption"}) {
            if (!ini.mSetString("Option", key, value)) return 1;
        }
    }
}
