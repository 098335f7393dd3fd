// A report PDF whose write fails half-way (file size limit) or whose folder is
// unusable leaves the previous PDF intact, says so in German, and is written
// when tried again.
#include "../common/file_size_limit.h"
#include "form_fixture.h"
#include "storage/month_totals.h"
#include "reports/sob01.h"
#include "reports/sob09.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>

namespace {

QByteArray Read(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString PdfTitle(const QString &pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    return QRegularExpression(QStringLiteral("Title:\\s+([^\\n]*)")).match(info).captured(1).trimmed();
}

using PdfWriterFn = void (*)(const QString &, const TYearBuffer &, int, int, const TObserverProfile &,
                             const TMonthTotals &);

} // namespace

Q_DECLARE_METATYPE(PdfWriterFn)

class ReportFaultTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        std::signal(SIGXFSZ, SIG_IGN);
        year_ = FixtureYear();
    }

    void forms_data() {
        QTest::addColumn<PdfWriterFn>("writePdf");
        QTest::addColumn<QString>("form");
        QTest::newRow("SOB01") << PdfWriterFn(&WriteSob01Pdf) << QStringLiteral("SOB01");
        QTest::newRow("SOB09") << PdfWriterFn(&WriteSob09Pdf) << QStringLiteral("SOB09");
    }

    void failedWriteKeepsThePreviousPdf_data() { forms_data(); }
    void failedWriteKeepsThePreviousPdf() {
        QFETCH(PdfWriterFn, writePdf);
        QFETCH(QString, form);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("bericht.pdf"));
        write(writePdf, file, 3);
        const QByteArray before = Read(file);
        QCOMPARE(PdfTitle(file), QStringLiteral("%1 3/2004").arg(form));
        QVERIFY(before.size() > 4096);

        QString message;
        {
            FileSizeLimit limit(4096);
            message = errorOf(writePdf, file, 4);
        }
        QCOMPARE(message, QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
        QCOMPARE(Read(file), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bericht.pdf"});

        write(writePdf, file, 4); // the retry
        QCOMPARE(PdfTitle(file), QStringLiteral("%1 4/2004").arg(form));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bericht.pdf"});
    }

    // A file where the folder should be: even root cannot write there.
    void unusableFolderIsReported_data() { forms_data(); }
    void unusableFolderIsReported() {
        QFETCH(PdfWriterFn, writePdf);
        QFETCH(QString, form);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Berichte"));
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString file = folder + QStringLiteral("/bericht.pdf");
        QCOMPARE(errorOf(writePdf, file, 3), QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
        QVERIFY(QFile::remove(folder));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Berichte")));
        write(writePdf, file, 3);
        QCOMPARE(PdfTitle(file), QStringLiteral("%1 3/2004").arg(form));
    }

private:
    void write(PdfWriterFn writePdf, const QString &file, int month) {
        writePdf(file, year_, month, 2004, FixtureProfile(true),
                 ComputeMonthTotals(year_.Months[month], month, 2004));
    }
    QString errorOf(PdfWriterFn writePdf, const QString &file, int month) {
        try {
            write(writePdf, file, month);
        } catch (const TarvoError &e) {
            return e.message();
        }
        return QString();
    }
    TYearBuffer year_;
};

QTEST_MAIN(ReportFaultTest)
#include "test_report_faults.moc"
