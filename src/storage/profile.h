#pragma once

#include "pstring.h"
#include "tarvo_error.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// What the entry dialog asks for (Ein) or what is output (Aus): one byte per
// category, 0 = off. Ten entries are stored in beob.ini.
struct TCategorySwitches {
    std::uint8_t Switch[42];

    bool on(int index) const { return Switch[index] != 0; }
    void set(int index, bool value) { Switch[index] = value ? 1 : 0; }
};
static_assert(sizeof(TCategorySwitches) == 42);

// Indexes of the stored categories.
enum CategoryIndex : int {
    CatBemerkung = 0,
    CatPosition = 3,
    CatFackel = 4,
    CatWolf = 5,
    CatNS = 6,
    CatBeck = 7,
    CatPettis = 8,
    CatCV = 9,
    CatA = 10,
    CatLB = 11,
};

// The current observer's settings, handed between the main window and the
// dialogs as a copy of the whole block.
struct TObserverProfile {
    PString<16> Name1; // short name, the network's observer key
    PString<25> Name2; // name
    PString<25> Name3; // street
    PString<25> Name4; // postcode and town
    PString<10> Laenge;
    PString<10> Breite;
    PString<5> Instrument;
    PString<4> Oeffn;
    PString<5> Brenn;
    TCategorySwitches Ein;
    TCategorySwitches Aus;
    std::int32_t Radius; // projection radius, mm
    PString<6> Vergr;
    PString<60> email;
    PString<60> eName;
    PString<60> SMTP;
    PString<60> SMTPBen;
    PString<60> SMTPPass;
    PString<60> AddrRe;
    PString<60> AddrA;
    PString<60> AddrFackel;
    PString<60> AddrPos;
    std::int32_t Farbe[41]; // 0x00BBGGRR
    std::uint8_t SendCC;
    std::uint8_t SendRe;
    std::uint8_t SendA;
    std::uint8_t SendF;
    std::uint8_t SendP;
    std::uint8_t AllowPlainLogin; // SMTP login also without an encrypted connection
    std::uint8_t Reserved[35];
    std::uint8_t Bugfix;
};

#pragma pack(pop)

static_assert(sizeof(TObserverProfile) == 984);
static_assert(offsetof(TObserverProfile, Name2) == 17);
static_assert(offsetof(TObserverProfile, Name3) == 43);
static_assert(offsetof(TObserverProfile, Name4) == 69);
static_assert(offsetof(TObserverProfile, Laenge) == 95);
static_assert(offsetof(TObserverProfile, Breite) == 106);
static_assert(offsetof(TObserverProfile, Instrument) == 117);
static_assert(offsetof(TObserverProfile, Oeffn) == 123);
static_assert(offsetof(TObserverProfile, Brenn) == 128);
static_assert(offsetof(TObserverProfile, Ein) == 134);
static_assert(offsetof(TObserverProfile, Aus) == 176);
static_assert(offsetof(TObserverProfile, Radius) == 218);
static_assert(offsetof(TObserverProfile, Vergr) == 222);
static_assert(offsetof(TObserverProfile, email) == 229);
static_assert(offsetof(TObserverProfile, eName) == 290);
static_assert(offsetof(TObserverProfile, SMTP) == 351);
static_assert(offsetof(TObserverProfile, SMTPBen) == 412);
static_assert(offsetof(TObserverProfile, SMTPPass) == 473);
static_assert(offsetof(TObserverProfile, AddrRe) == 534);
static_assert(offsetof(TObserverProfile, AddrA) == 595);
static_assert(offsetof(TObserverProfile, AddrFackel) == 656);
static_assert(offsetof(TObserverProfile, AddrPos) == 717);
static_assert(offsetof(TObserverProfile, Farbe) == 778);
static_assert(offsetof(TObserverProfile, SendCC) == 942);
static_assert(offsetof(TObserverProfile, SendP) == 946);
static_assert(offsetof(TObserverProfile, AllowPlainLogin) == 947);
static_assert(offsetof(TObserverProfile, Reserved) == 948);
static_assert(offsetof(TObserverProfile, Bugfix) == 983);

// A profile of zero bytes.
TObserverProfile EmptyProfile();

// The stored categories: index and key in the sections "Ein" and "Aus".
struct CategoryKey {
    int index;
    const char *key;
};
extern const CategoryKey kCategoryKeys[10];

// Default addresses of the networks' data collection, used while tarvo.ini
// names none (set at build time).
QString DefaultAddressRe();
QString DefaultAddressA();
QString DefaultAddressFackel();

QString ReadProgramVersion();

// tarvo.ini exists but cannot be read or understood: the program must stop
// rather than go on as at a first start.
struct SettingsFileError : TarvoError {
    using TarvoError::TarvoError;
};

// Reads tarvo.ini (a missing one is a first start and is created), then the
// current observer's profile. Throws SettingsFileError, naming the file and
// the fault, when tarvo.ini cannot be read or has no [TARVO32] section; the
// file is then left as it is.
void LoadProgramSettings(TObserverProfile &profile);
// Writes tarvo.ini; throws TarvoError when it cannot be read (as above) or written.
void SaveProgramSettings(const TObserverProfile &profile);
// SaveProgramSettings with the section "Beobachter" holding exactly the
// observer list, so that the key of an observer taken out of it goes too.
void SaveProgramSettingsReplacingObservers(const TObserverProfile &profile);
void LoadProfile(TObserverProfile &profile);
void SaveProfile(const TObserverProfile &profile);

// How a chosen observer stays chosen: saved in tarvo.ini as the current one
// (the main window's switch), or for this run only (tarvo-cli --observer).
enum class ObserverChoice { Remember, ThisRunOnly };
// Makes the listed observer `key` current and loads its profile into
// `profile`. Throws TarvoError when the key is not listed, the profile cannot
// be read or (Remember) tarvo.ini cannot be written; the previous observer
// then stays current and `profile` is unchanged, so that a profile never goes
// with another observer's files.
void ChooseObserver(const QString &key, TObserverProfile &profile, ObserverChoice choice);

// The 24 default curve colours of the graphic evaluation (0x00BBGGRR): distinct
// and told apart also with the common colour-vision deficiencies.
const std::int32_t *DefaultCurveColours();
// Gives a profile whose 24 curve colours are all 0 (a new observer, or an old
// file that never chose colours) the default colours; true when it did.
bool ApplyDefaultCurveColours(TObserverProfile &profile);

// The graphic evaluation's remembered view of the current observer, kept in
// beob.ini's own section "Auswertung" (older files simply lack it).
struct TEvaluationView {
    bool stored = false; // false: the file holds no view yet
    int endYear = 0;
    int years = 0;
    QStringList curves; // curve names, e.g. "re", "r13", "sidc"
    bool legendGrid = true;
    bool operator==(const TEvaluationView &) const = default;
};
TEvaluationView LoadEvaluationView();
// Writes only the section "Auswertung"; throws TarvoError when beob.ini cannot be written.
void SaveEvaluationView(const TEvaluationView &view);
