#include "email_settings.h"

#include "observer_admin.h"
#include "storage/cp1252.h"
#include "storage/file_io.h"
#include "storage/folder_lock.h"
#include "storage/profile.h"
#include "storage/storage_state.h"

#include <QFile>

EmailSettingsInput EmailSettingsFromProfile(const TObserverProfile &profile) {
    EmailSettingsInput in;
    in.email = profile.email.text();
    in.eName = profile.eName.text();
    in.smtp = profile.SMTP.text();
    in.smtpUser = profile.SMTPBen.text();
    in.smtpPassword = kPasswordPlaceholder;
    in.addrRe = profile.AddrRe.text();
    in.addrA = profile.AddrA.text();
    in.addrFackel = profile.AddrFackel.text();
    in.addrPos = profile.AddrPos.text();
    in.sendCC = profile.SendCC != 0;
    in.allowPlainLogin = profile.AllowPlainLogin != 0;
    in.sendRe = profile.SendRe != 0;
    in.sendA = profile.SendA != 0;
    in.sendF = profile.SendF != 0;
    in.sendP = profile.SendP != 0;
    return in;
}

void ApplyEmailSettings(TObserverProfile &profile, const EmailSettingsInput &in) {
    profile.email.assign(in.email);
    profile.eName.assign(in.eName);
    profile.SMTP.assign(in.smtp);
    profile.SMTPBen.assign(in.smtpUser);
    if (in.smtpPassword != kPasswordPlaceholder)
        profile.SMTPPass.assign(in.smtpPassword);
    profile.AddrRe.assign(in.addrRe);
    profile.AddrA.assign(in.addrA);
    profile.AddrFackel.assign(in.addrFackel);
    profile.AddrPos.assign(in.addrPos);
    profile.SendCC = in.sendCC;
    profile.AllowPlainLogin = in.allowPlainLogin;
    profile.SendRe = in.sendRe;
    profile.SendA = in.sendA;
    profile.SendF = in.sendF;
    profile.SendP = in.sendP;
}

QString EmailSettingsProblem(const EmailSettingsInput &input) {
    const auto storable = [](const QString &text) { return FromCp1252(ToCp1252(text)) == text; };
    // The password is never shown, not even in a message.
    if (!storable(input.smtpPassword))
        return QStringLiteral("Das Passwort enthält Zeichen, die nicht gespeichert werden können.");
    for (const QString &text : {input.email, input.eName, input.smtp, input.smtpUser, input.addrRe, input.addrA,
                                input.addrFackel, input.addrPos}) {
        if (!storable(text))
            return QStringLiteral("\"%1\" enthält Zeichen, die nicht gespeichert werden können.").arg(text);
    }
    return QString();
}

void SaveEmailSettings(const TObserverProfile &profile) {
    RequireCurrentObserver();
    // Both files stay as they are for other Tarvo processes until both are written.
    const FolderLock programLock = LockProgramFolder();
    const FolderLock observerLock = LockObserverFolder();
    // All or nothing: the profile first (a failure there writes nothing);
    // when tarvo.ini then fails, beob.ini gets its previous bytes back, so a
    // cancelled dialog leaves no half of its changes behind.
    const QString profilePath = ObserverFilePath(QStringLiteral("beob.ini"));
    const FileReadResult previous = ReadWholeFile(profilePath);
    SaveProfile(profile);
    try {
        SaveProgramSettings(profile);
    } catch (...) {
        // Best effort: the failure of the settings is what the user hears of.
        try {
            if (previous.ok())
                WriteFileAtomically(profilePath, previous.bytes);
            else if (!previous.exists)
                QFile::remove(profilePath);
        } catch (const TarvoError &) {
        }
        throw;
    }
}
