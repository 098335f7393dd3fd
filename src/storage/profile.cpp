#include "profile.h"

#include "archive.h"
#include "cp1252.h"
#include "folder_lock.h"
#include "ini_file.h"
#include "storage_state.h"
#include "tarvo_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <optional>

const CategoryKey kCategoryKeys[10] = {
    {CatBemerkung, "Bemerkung"}, {CatPosition, "Position"}, {CatFackel, "Fackel"}, {CatWolf, "Wolf"},
    {CatNS, "N-S"},              {CatBeck, "Beck"},         {CatPettis, "Pettis"}, {CatCV, "CV"},
    {CatA, "A"},                 {CatLB, "LB"},
};

namespace {

const QString kMain = QStringLiteral("TARVO32");
const QString kObservers = QStringLiteral("Beobachter");
const QString kEmail = QStringLiteral("email");
// "Anmeldung ohne Verschlüsselung erlauben"; missing in older files (off).
const QString kAllowPlainLoginKey = QStringLiteral("SMTPOhneTLS");

QString SettingsFilePath() { return Storage().ProgramDir + QStringLiteral("tarvo.ini"); }

// tarvo.ini as it is now. A file that cannot be read is never taken for a
// missing one, and one without a [TARVO32] section is not taken for a first
// start: either would replace the observer list with an empty one.
IniFile ReadSettingsFile() {
    const QString path = SettingsFilePath();
    const QString shown = QDir::toNativeSeparators(path);
    std::optional<IniFile> ini;
    try {
        ini.emplace(path);
    } catch (const TarvoError &e) {
        throw SettingsFileError(QStringLiteral("Die Einstellungsdatei %1 kann nicht gelesen werden (%2).")
                                    .arg(shown, e.message()));
    }
    if (ini->exists() && !ini->sectionExists(kMain))
        throw SettingsFileError(
            QStringLiteral(
                "Die Einstellungsdatei %1 ist beschädigt: der Abschnitt [%2] fehlt. Tarvo ändert sie "
                "nicht; bitte prüfen Sie die Datei oder holen Sie sie aus einer Datensicherung zurück.")
                .arg(shown, kMain));
    return std::move(*ini);
}

// Byte-wise comparison: a proper prefix is older, digits are not numbers.
bool OlderThanProgram(const QString &storedVersion) {
    return ToCp1252(storedVersion) < ToCp1252(Storage().ProgramVersion);
}

// beob.ini holds the SMTP password: only its owner may read it.
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

template <int N> void ReadText(const IniFile &ini, const QString &section, const char *key, PString<N> &field,
                               const QString &defaultValue = QString()) {
    field.assign(ini.readString(section, QLatin1String(key), defaultValue));
}

void WriteProgramSettings(IniFile &ini, const TObserverProfile &profile) {
    const StorageState &s = Storage();
    ini.writeString(kMain, kObservers, s.CurrentObserverKey);
    ini.writeString(kMain, QStringLiteral("Version"), QStringLiteral("1.0"));
    ini.writeString(kMain, QStringLiteral("FileVersion"), s.ProgramVersion);
    ini.writeString(kMain, QStringLiteral("Datenpfad"), StoredDataPath(s.DataPath));
    for (qsizetype i = 0; i < s.ObserverKeys.size(); ++i)
        ini.writeString(kObservers, s.ObserverKeys[i], s.ObserverDirs.value(i));
    // An empty address leaves the stored one (or the default) in effect.
    const std::pair<const char *, QString> addresses[] = {{"RE", profile.AddrRe.text()},
                                                          {"A", profile.AddrA.text()},
                                                          {"Fackel", profile.AddrFackel.text()},
                                                          {"Pos", profile.AddrPos.text()}};
    for (const auto &[key, value] : addresses)
        if (!value.isEmpty())
            ini.writeString(kEmail, QLatin1String(key), value);
}

// Removes every observer's evaluation archives (an older version's layout);
// they are made anew from the year files when next needed.
// After an upgrade every archive is aggregated anew from the year files. The
// series imported into them stay: no year file could give them back. An
// archive that cannot be renewed (damaged, read-only) stays as it is and is
// reported when it is used.
void RenewObserverArchives() {
    StorageState &s = Storage();
    for (const QString &dir : std::as_const(s.ObserverDirs)) {
        QDir observerDir(s.DataPath + ObserverDirPath(dir));
        for (const QString &name : observerDir.entryList({QStringLiteral("*.asw")}, QDir::Files)) {
            try {
                RenewArchiveKeepingImports(observerDir.filePath(name));
            } catch (const TarvoError &) {
            }
        }
    }
    ForgetArchiveCache();
}

} // namespace

TObserverProfile EmptyProfile() {
    TObserverProfile profile;
    std::memset(&profile, 0, sizeof profile);
    return profile;
}

QString DefaultAddressRe() { return QStringLiteral(TARVO_DEFAULT_ADDR_RE); }
QString DefaultAddressA() { return QStringLiteral(TARVO_DEFAULT_ADDR_A); }
QString DefaultAddressFackel() { return QStringLiteral(TARVO_DEFAULT_ADDR_FACKEL); }

QString ReadProgramVersion() { return QStringLiteral(TARVO_VERSION_TEXT); }

void LoadProgramSettings(TObserverProfile &profile) {
    StorageState &s = Storage();
    // Reading needs no lock (every write replaces the file whole); a load that
    // writes the file back (first start, version upgrade) reads it again under
    // the lock.
    std::optional<FolderLock> lock;
    IniFile ini = ReadSettingsFile();
    if (!ini.sectionExists(kMain) ||
        OlderThanProgram(ini.readString(kMain, QStringLiteral("FileVersion"), QString()))) {
        lock.emplace(s.ProgramDir);
        ini = ReadSettingsFile();
    }
    s.ObserversPresent = true;
    bool firstStart = false;

    if (ini.sectionExists(kMain)) {
        s.CurrentObserverKey = ini.readString(kMain, kObservers, QString()).left(16);
        const QString storedVersion = ini.readString(kMain, QStringLiteral("FileVersion"), QString());
        // A stored path that names no folder (written on another system, or
        // with characters Windows-1252 cannot hold) would hide every
        // observer's data: the default stays then.
        const QString storedPath =
            ResolveDataPath(ini.readString(kMain, QStringLiteral("Datenpfad"), QString()));
        if (!storedPath.isEmpty() && QFileInfo(storedPath).isDir())
            s.DataPath = storedPath;
        profile.Bugfix = ini.readBool(kMain, QStringLiteral("Bugfix"), true) ? 1 : 0;
        if (OlderThanProgram(storedVersion)) {
            ini.eraseSection(kEmail);
            s.SettingsDirty = true;
            s.DeleteArchives = true;
        }
    } else {
        firstStart = true;
        ini.writeString(kMain, QStringLiteral("Version"), QStringLiteral("1.0"));
        ini.writeString(kMain, QStringLiteral("FileVersion"), s.ProgramVersion);
        ini.writeString(kMain, QStringLiteral("Datenpfad"), StoredDataPath(s.DataPath));
    }

    s.ObserverKeys.clear();
    s.ObserverDirs.clear();
    if (ini.sectionExists(kObservers)) {
        s.ObserverKeys = ini.sectionKeys(kObservers);
        for (const QString &key : std::as_const(s.ObserverKeys)) {
            const QString dir = ini.readString(kObservers, key, QString());
            s.ObserverDirs.append(dir);
            if (key == s.CurrentObserverKey)
                s.CurrentObserverDir = dir.left(16);
        }
    } else {
        s.ObserversPresent = false;
    }
    // The archives of an older version are renewed only once the new version
    // is on record (below): when tarvo.ini cannot be written, every later
    // load would find the upgrade again and aggregate every year anew.
    const bool deleteArchives = s.DeleteArchives;
    s.DeleteArchives = false;

    profile.AddrRe.assign(ini.readString(kEmail, QStringLiteral("RE"), DefaultAddressRe()));
    profile.AddrA.assign(ini.readString(kEmail, QStringLiteral("A"), DefaultAddressA()));
    profile.AddrFackel.assign(ini.readString(kEmail, QStringLiteral("Fackel"), DefaultAddressFackel()));
    profile.AddrPos.assign(ini.readString(kEmail, QStringLiteral("Pos"), QString()));

    if (s.SettingsDirty) {
        WriteProgramSettings(ini, profile);
        ini.save();
        s.SettingsDirty = false;
    } else if (firstStart) {
        ini.save();
    }
    if (deleteArchives)
        RenewObserverArchives();
    lock.reset();
    if (s.ObserversPresent)
        LoadProfile(profile);
}

void SaveProgramSettings(const TObserverProfile &profile) {
    const FolderLock lock = LockProgramFolder();
    IniFile ini = ReadSettingsFile();
    WriteProgramSettings(ini, profile);
    ini.save();
    Storage().SettingsDirty = false;
}

void SaveProgramSettingsReplacingObservers(const TObserverProfile &profile) {
    IniFile ini(SettingsFilePath());
    ini.eraseSection(kObservers);
    WriteProgramSettings(ini, profile);
    ini.save();
    Storage().SettingsDirty = false;
}

void LoadProfile(TObserverProfile &profile) {
    const IniFile ini(ObserverFilePath(QStringLiteral("beob.ini")));
    const QString b = kObservers;
    ReadText(ini, b, "Name1", profile.Name1);
    ReadText(ini, b, "Name2", profile.Name2);
    ReadText(ini, b, "Name3", profile.Name3);
    ReadText(ini, b, "Name4", profile.Name4);
    ReadText(ini, b, "Laenge", profile.Laenge);
    ReadText(ini, b, "Breite", profile.Breite);
    ReadText(ini, b, "Instrument", profile.Instrument);
    ReadText(ini, b, "Oeffn", profile.Oeffn);
    ReadText(ini, b, "Brenn", profile.Brenn);
    profile.Radius = ini.readInteger(b, QStringLiteral("Radius"), 0);
    ReadText(ini, b, "Vergr", profile.Vergr);

    ReadText(ini, kEmail, "email", profile.email);
    ReadText(ini, kEmail, "eName", profile.eName, profile.Name2.text());
    ReadText(ini, kEmail, "SMTP", profile.SMTP);
    ReadText(ini, kEmail, "SMTPBen", profile.SMTPBen);
    ReadText(ini, kEmail, "SMTPPass", profile.SMTPPass);
    profile.SendCC = ini.readBool(kEmail, QStringLiteral("Send-CC"), false);
    profile.SendRe = ini.readBool(kEmail, QStringLiteral("Send-Re"), false);
    profile.SendA = ini.readBool(kEmail, QStringLiteral("Send-A"), false);
    profile.SendF = ini.readBool(kEmail, QStringLiteral("Send-F"), false);
    profile.SendP = ini.readBool(kEmail, QStringLiteral("Send-P"), false);
    profile.AllowPlainLogin = ini.readBool(kEmail, kAllowPlainLoginKey, false);

    for (const CategoryKey &c : kCategoryKeys) {
        profile.Ein.set(c.index, ini.readBool(QStringLiteral("Ein"), QLatin1String(c.key), true));
        profile.Aus.set(c.index, ini.readBool(QStringLiteral("Aus"), QLatin1String(c.key), true));
    }
    for (int i = 0; i < 41; ++i)
        profile.Farbe[i] = ini.readInteger(QStringLiteral("Farbe"), QString::number(i), 0);
}

void SaveProfile(const TObserverProfile &profile) {
    const FolderLock lock = LockObserverFolder();
    IniFile ini(ObserverFilePath(QStringLiteral("beob.ini")));
    const QString b = kObservers;
    const std::pair<const char *, QString> names[] = {
        {"Name1", profile.Name1.text()},   {"Name2", profile.Name2.text()},
        {"Name3", profile.Name3.text()},   {"Name4", profile.Name4.text()},
        {"Laenge", profile.Laenge.text()}, {"Breite", profile.Breite.text()},
        {"Instrument", profile.Instrument.text()}, {"Oeffn", profile.Oeffn.text()},
        {"Brenn", profile.Brenn.text()}};
    for (const auto &[key, value] : names)
        ini.writeString(b, QLatin1String(key), value);
    ini.writeInteger(b, QStringLiteral("Radius"), profile.Radius);
    ini.writeString(b, QStringLiteral("Vergr"), profile.Vergr.text());

    ini.writeString(kEmail, QStringLiteral("email"), profile.email.text());
    ini.writeString(kEmail, QStringLiteral("eName"), profile.eName.text());
    ini.writeString(kEmail, QStringLiteral("SMTP"), profile.SMTP.text());
    ini.writeString(kEmail, QStringLiteral("SMTPBen"), profile.SMTPBen.text());
    ini.writeString(kEmail, QStringLiteral("SMTPPass"), profile.SMTPPass.text());
    ini.writeBool(kEmail, QStringLiteral("Send-CC"), profile.SendCC);
    ini.writeBool(kEmail, QStringLiteral("Send-Re"), profile.SendRe);
    ini.writeBool(kEmail, QStringLiteral("Send-A"), profile.SendA);
    ini.writeBool(kEmail, QStringLiteral("Send-F"), profile.SendF);
    ini.writeBool(kEmail, QStringLiteral("Send-P"), profile.SendP);
    ini.writeBool(kEmail, kAllowPlainLoginKey, profile.AllowPlainLogin);

    for (const CategoryKey &c : kCategoryKeys)
        ini.writeBool(QStringLiteral("Ein"), QLatin1String(c.key), profile.Ein.on(c.index));
    for (const CategoryKey &c : kCategoryKeys)
        ini.writeBool(QStringLiteral("Aus"), QLatin1String(c.key), profile.Aus.on(c.index));
    for (int i = 0; i < 41; ++i)
        ini.writeInteger(QStringLiteral("Farbe"), QString::number(i), profile.Farbe[i]);
    ini.save(kOwnerOnly);
}

const std::int32_t *DefaultCurveColours() {
    // Okabe-Ito and Paul Tol's colour-blind-safe sets; the curves shown most
    // (own Re and its means against SIDC) get the pairs that stay apart best.
    static const std::int32_t colours[24] = {
        0xB27200, // Re        #0072B2 blue
        0xE9B456, // Re Nord   #56B4E9 sky blue
        0x739E00, // Re Süd    #009E73 bluish green
        0x882233, // R13       #332288 indigo
        0x337711, // P17       #117733 green
        0x339999, // Beck      #999933 olive
        0x9944AA, // Pettis    #AA4499 purple
        0x552288, // CV        #882255 wine
        0x33AADD, // A         #DDAA33 yellow
        0xA779CC, // A*        #CC79A7 reddish purple
        0x99AA44, // Tarvo Def #44AA99 teal
        0xEECC88, // Tarvo Prov #88CCEE cyan
        0x777777, // Zürich    #777777 grey
        0x009FE6, // SIDC      #E69F00 orange
        0x005ED5, // SIDC M    #D55E00 vermillion
        0x7766CC, // A-Netz    #CC6677 rose
        0x6655BB, // A*-Netz   #BB5566 red
        0x884400, // Fo        #004488 dark blue
        0xCC9966, // Fm        #6699CC light blue
        0x007799, // FEF       #997700 ochre
        0xAA99EE, // FEP       #EE99AA light red
        0x554499, // pfn       #994455 dark red
        0x555522, // pfs       #225555 dark cyan
        0x222222, // P9        #222222 near black
    };
    return colours;
}

bool ApplyDefaultCurveColours(TObserverProfile &profile) {
    for (int i = 0; i < 24; ++i)
        if (profile.Farbe[i] != 0)
            return false;
    std::memcpy(profile.Farbe, DefaultCurveColours(), 24 * sizeof(std::int32_t));
    return true;
}

namespace {
const QString kEvaluation = QStringLiteral("Auswertung");
}

TEvaluationView LoadEvaluationView() {
    const IniFile ini(ObserverFilePath(QStringLiteral("beob.ini")));
    TEvaluationView view;
    view.stored = ini.keyExists(kEvaluation, QStringLiteral("Endjahr")) &&
                  ini.keyExists(kEvaluation, QStringLiteral("Zyklus"));
    if (!view.stored)
        return view;
    view.endYear = ini.readInteger(kEvaluation, QStringLiteral("Endjahr"), 0);
    view.years = ini.readInteger(kEvaluation, QStringLiteral("Zyklus"), 0);
    view.curves = ini.readString(kEvaluation, QStringLiteral("Kurven"), QString())
                      .split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString &curve : view.curves)
        curve = curve.trimmed();
    view.legendGrid = ini.readBool(kEvaluation, QStringLiteral("Gitter"), true);
    return view;
}

void SaveEvaluationView(const TEvaluationView &view) {
    IniFile ini(ObserverFilePath(QStringLiteral("beob.ini")));
    ini.writeInteger(kEvaluation, QStringLiteral("Endjahr"), view.endYear);
    ini.writeInteger(kEvaluation, QStringLiteral("Zyklus"), view.years);
    ini.writeString(kEvaluation, QStringLiteral("Kurven"), view.curves.join(QLatin1Char(',')));
    ini.writeBool(kEvaluation, QStringLiteral("Gitter"), view.legendGrid);
    ini.save(kOwnerOnly);
}

void ChooseObserver(const QString &key, TObserverProfile &profile, ObserverChoice choice) {
    StorageState &s = Storage();
    const qsizetype index = s.ObserverKeys.indexOf(key);
    if (index < 0)
        throw TarvoError(QStringLiteral("Beobachter '%1' ist nicht vorhanden").arg(key));
    const QString oldKey = s.CurrentObserverKey;
    const QString oldDir = s.CurrentObserverDir;
    s.CurrentObserverKey = key.left(16);
    s.CurrentObserverDir = s.ObserverDirs.value(index).left(16);
    TObserverProfile next = profile;
    try {
        LoadProfile(next);
        if (choice == ObserverChoice::Remember)
            SaveProgramSettings(next);
    } catch (...) {
        s.CurrentObserverKey = oldKey;
        s.CurrentObserverDir = oldDir;
        throw;
    }
    profile = next;
}
