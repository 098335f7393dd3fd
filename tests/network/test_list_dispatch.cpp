// Sending a month's lists, the workflow the mail dialog and tarvo-cli send
// share, against a real SMTP server; and which lists a send picks.
#include "../mail/smtp_test_server.h"
#include "mail/smtp_client.h"
#include "network/list_mail.h"
#include "storage/tarvo_error.h"
#include "test_lines_fixture.h"

#include <QtTest>

namespace {

TObserverProfile Profile(const QString &host) {
    TObserverProfile p = LinesTestProfile();
    p.email.assign(QStringLiteral("muster@example.org"));
    p.SMTP.assign(host);
    p.AddrRe.assign(QStringLiteral("rezahl@example.net"));
    p.AddrA.assign(QStringLiteral("anetz@example.net"));
    p.AddrFackel.assign(QStringLiteral("fackel@example.net"));
    p.AddrPos.assign(QStringLiteral("pos@example.net"));
    p.SendRe = p.SendA = p.SendF = p.SendP = 1;
    return p;
}

QStringList Kinds(const QList<MailListEntry> &lists) {
    QStringList kinds;
    for (const MailListEntry &e : lists)
        kinds << QString::number(e.kind);
    return kinds;
}

} // namespace

class TestListDispatch : public QObject {
    Q_OBJECT
private slots:
    void whichListsGo() {
        TObserverProfile p = Profile(QStringLiteral("localhost:1"));
        p.SendF = 0;
        // Preselected and not yet sent: the A list went out already, the faculae list is not preselected.
        QCOMPARE(Kinds(PreselectedLists(p, "010000000000000")), (QStringList{"0", "3"}));
        QCOMPARE(Kinds(PreselectedLists(p, "")), (QStringList{"0", "1", "3"}));
        QCOMPARE(Kinds(RequestedLists(p, {2, 0})), (QStringList{"2", "0"}));
        p.AddrA.assign(QString());
        try {
            RequestedLists(p, {1});
            QFAIL("a list without an address was taken");
        } catch (const TarvoError &e) {
            QCOMPARE(e.message(), QStringLiteral("Für die Liste 'a' ist keine Adresse eingestellt."));
        }
    }

    // Positionen is passed over with its notice, a refused list stops the
    // rest, and every step is reported in order.
    void failureStopsTheRest() {
        SmtpTestServer server;
        QVERIFY(server.start({QStringLiteral("--reject"), QStringLiteral("anetz@example.net")}));
        const TObserverProfile p = Profile(server.host());
        auto year = ZeroYear();
        year->Day(3, 5) = FullDay();
        const QList<MailListEntry> lists = RequestedLists(p, {3, 0, 1, 2});
        QStringList steps;
        TDispatchSteps hooks;
        hooks.composing = [&](int index, const TListMail &mail) {
            steps << QStringLiteral("compose %1 %2").arg(index).arg(mail.Subject);
        };
        hooks.sent = [&](int index) { steps << QStringLiteral("sent %1").arg(index); };
        hooks.failed = [&](const QString &) { steps << QStringLiteral("failed"); };
        hooks.skipped = [&](const QString &notice) { steps << notice; };
        TSmtpClient smtp;
        ConfigureSmtpClient(smtp, p);
        const QList<TListOutcome> outcomes = SendMonthLists(smtp, lists, p, *year, 2004, 3, hooks);
        QCOMPARE(steps, (QStringList{"Ist noch nicht implementiert!", "compose 1 REZAHL: Muster 2004/3", "sent 1",
                                     "compose 2 A-ZAHL: Muster 2004/3", "failed"}));
        QCOMPARE(outcomes.size(), 4);
        QVERIFY(!outcomes[0].sent);
        QVERIFY(outcomes[1].sent);
        QVERIFY(!outcomes[2].sent);
        QVERIFY(!outcomes[2].reason.isEmpty());
        QCOMPARE(outcomes[3].reason,
                 QStringLiteral("nicht versucht, weil der Versand nach dem Fehler beendet wurde"));
        QCOMPARE(server.messages().size(), 1);
        QVERIFY(!smtp.connected());
    }

    void cancelStopsBeforeTheNextList() {
        const TObserverProfile p = Profile(QStringLiteral("localhost:1"));
        auto year = ZeroYear();
        TDispatchSteps hooks;
        hooks.cancelled = [] { return true; };
        TSmtpClient smtp;
        const QList<TListOutcome> outcomes = SendMonthLists(smtp, RequestedLists(p, {0, 2}), p, *year, 2004, 3, hooks);
        QCOMPARE(outcomes.size(), 2);
        for (const TListOutcome &o : outcomes) {
            QVERIFY(!o.sent);
            QCOMPARE(o.reason, QStringLiteral("Der E-Mail-Versand wurde abgebrochen."));
        }
    }
};

QTEST_GUILESS_MAIN(TestListDispatch)
#include "test_list_dispatch.moc"
