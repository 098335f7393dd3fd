#pragma once

#include "storage/profile.h"

#include <QString>

// Stands for the unchanged stored password; the stored one is never shown.
inline const QString kPasswordPlaceholder = QStringLiteral("***************");

// The e-mail settings as the dialog shows and edits them.
struct EmailSettingsInput {
    QString email;
    QString eName;
    QString smtp;
    QString smtpUser;
    QString smtpPassword; // kPasswordPlaceholder: keep the stored password
    QString addrRe;
    QString addrA;
    QString addrFackel;
    QString addrPos;
    bool sendCC = false;
    bool allowPlainLogin = false; // "Anmeldung ohne Verschlüsselung erlauben"
    bool sendRe = false;
    bool sendA = false;
    bool sendF = false;
    bool sendP = false;
};

// The dialog's starting values: the profile's texts, the placeholder for the password.
EmailSettingsInput EmailSettingsFromProfile(const TObserverProfile &profile);
// Why the input cannot be stored as typed (a character Windows-1252 cannot
// hold would become "?", a password then silently a different one); empty
// when it can.
QString EmailSettingsProblem(const EmailSettingsInput &input);
// Copies the input into the profile, each text cut to its field width.
void ApplyEmailSettings(TObserverProfile &profile, const EmailSettingsInput &input);
// Writes beob.ini (sender, password, switches) and tarvo.ini (network
// addresses), all or nothing. Throws TarvoError when there is no observer yet
// or a write fails.
void SaveEmailSettings(const TObserverProfile &profile);
