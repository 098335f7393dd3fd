#include "email_settings.h"

#include "observer_admin.h"

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
    profile.SendRe = in.sendRe;
    profile.SendA = in.sendA;
    profile.SendF = in.sendF;
    profile.SendP = in.sendP;
}

void SaveEmailSettings(const TObserverProfile &profile) {
    RequireCurrentObserver();
    SaveProgramSettings(profile);
    SaveProfile(profile);
}
