// INI files: the parser itself, tarvo.ini through LoadProgramSettings and an
// observer's beob.ini through LoadProfile.
#include "fuzz_sandbox.h"
#include "storage/ini_file.h"
#include "storage/profile.h"
#include "storage/tarvo_error.h"

namespace {

void QueryAll(const IniFile &ini) {
    for (const QString &section :
         {QStringLiteral("TARVO32"), QStringLiteral("Beobachter"), QStringLiteral("email")}) {
        ini.sectionExists(section);
        for (const QString &key : ini.sectionKeys(section)) {
            ini.readString(section, key, QString());
            ini.readInteger(section, key, 0);
            ini.readBool(section, key, false);
        }
    }
}

// LoadProgramSettings follows Datenpfad and the observer directories (and
// deletes archives there after an update): keep it inside the sandbox.
bool StaysInSandbox(const QByteArray &bytes) {
    IniFile ini{QString()};
    ini.parse(bytes);
    if (ini.keyExists(QStringLiteral("TARVO32"), QStringLiteral("Datenpfad")))
        return false;
    for (const QString &key : ini.sectionKeys(QStringLiteral("Beobachter"))) {
        const QString dir = ini.readString(QStringLiteral("Beobachter"), key, QString());
        if (dir.contains(QStringLiteral("..")) || dir.startsWith(QLatin1Char('/')) ||
            dir.startsWith(QLatin1Char('\\')))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    const QByteArray bytes = FuzzBytes(data + 1, size - 1);
    FuzzSandbox &sandbox = FuzzSandbox::instance();
    switch (data[0] % 3) {
    case 0: {
        IniFile ini{QString()};
        ini.parse(bytes);
        QueryAll(ini);
        // What is saved must read back the same.
        const QByteArray saved = ini.toBytes();
        IniFile again{QString()};
        again.parse(saved);
        if (again.toBytes() != saved)
            __builtin_trap();
        break;
    }
    case 1: {
        if (!StaysInSandbox(bytes))
            return 0;
        sandbox.reset();
        FuzzSandbox::write(sandbox.programFile(QStringLiteral("tarvo.ini")), bytes);
        TObserverProfile profile = EmptyProfile();
        try {
            LoadProgramSettings(profile);
        } catch (const TarvoError &) {
        }
        break;
    }
    default: {
        sandbox.reset();
        FuzzSandbox::write(sandbox.observerFile(QStringLiteral("beob.ini")), bytes);
        TObserverProfile profile = EmptyProfile();
        LoadProfile(profile);
        break;
    }
    }
    return 0;
}
