// Exports whose write fails half-way (file size limit) or whose target folder
// is unusable must leave the previous file intact, say so in German, and
// succeed when tried again.
#include "../common/file_size_limit.h"
#include "network/export_files.h"
#include "network/network_lines.h"
#include "storage/archive.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"
#include "test_lines_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {

QByteArray Read(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString ErrorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const TarvoError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class ExportFaultTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void init() {
        profile_ = LinesTestProfile();
        year_ = ZeroYear();
        year_->Day(3, 5) = FullDay();
        year_->Day(3, 6) = FullDay();
        source_ = TExportSource{&profile_, year_.get(), 2004, 3, {}, {}};
        source_.csv = [] { return QByteArray("Tag;UT;Re\r\n").repeated(50); };
        source_.html = [] { return QByteArray("<tr><td>5</td><td>9:30</td></tr>\r\n").repeated(50); };
    }

    void failedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("appends");
        QTest::newRow("csv") << int(ExportCsv) << false;
        QTest::newRow("html") << int(ExportHtml) << false;
        QTest::newRow("relative numbers") << int(ExportRezahl) << true;
        QTest::newRow("A numbers") << int(ExportAzahl) << true;
        QTest::newRow("faculae") << int(ExportFzahl) << true;
    }
    void failedWriteKeepsThePreviousFile() {
        QFETCH(int, type);
        QFETCH(bool, appends);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("export.dat"));
        const QByteArray before = QByteArray("earlier export line\r\n").repeated(10);
        Write(file, before);

        QString message;
        {
            FileSizeLimit limit(128);
            message = ErrorOf([&] { WriteExportFile(type, file, source_); });
        }
        QCOMPARE(message, QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
        QCOMPARE(Read(file), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.dat"});

        WriteExportFile(type, file, source_); // the retry
        QByteArray expected;
        if (type == ExportCsv)
            expected = source_.csv();
        else if (type == ExportHtml)
            expected = source_.html();
        else
            expected = before + MonthLines(static_cast<NetworkLineKind>(type - ExportRezahl), profile_,
                                           *year_, 2004, 3);
        QVERIFY(Read(file).size() > 128);
        QCOMPARE(Read(file).startsWith(before), appends);
        QCOMPARE(Read(file), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.dat"});
    }

    // A file where the target folder should be: even root cannot write there.
    void unusableFolderIsReported_data() {
        QTest::addColumn<int>("type");
        QTest::newRow("csv") << int(ExportCsv);
        QTest::newRow("relative numbers") << int(ExportRezahl);
    }
    void unusableFolderIsReported() {
        QFETCH(int, type);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Exporte"));
        Write(folder, QByteArray("not a folder"));
        const QString file = folder + QStringLiteral("/export.dat");
        const QString message = ErrorOf([&] { WriteExportFile(type, file, source_); });
        QCOMPARE(message, QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
        QCOMPARE(Read(folder), QByteArray("not a folder"));

        QVERIFY(QFile::remove(folder));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Exporte")));
        WriteExportFile(type, file, source_);
        QVERIFY(!Read(file).isEmpty());
        QVERIFY(Read(file) != QByteArray("<missing>"));
    }

    // The observer's folder replaced by a file (gone, or not writable):
    // every save says so, nothing of the observer's files is lost, and once
    // the folder is back the same saves succeed.
    void unusableObserverFolder() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        Storage().CurrentObserverKey = QStringLiteral("Muster");
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("0001")));
        QVERIFY(WriteYear(2004, *year_));
        TYearSummaries summaries;
        QVERIFY(LoadYearSummaries(2004, summaries));
        SaveColumnLayout();
        const QString observer = dir.filePath(QStringLiteral("0001"));
        const QStringList files = QDir(observer).entryList(QDir::Files);
        QCOMPARE(files, (QStringList{"20002049.asw", "AEF.CFG", "SO2004.DAT"}));

        QVERIFY(QDir(dir.path()).rename(QStringLiteral("0001"), QStringLiteral("0001.away")));
        Write(observer, QByteArray("blocked"));
        year_->Day(3, 7) = FullDay();
        QString error;
        QVERIFY(!WriteYear(2004, *year_, &error));
        QCOMPARE(error, QStringLiteral("In %1 kann nicht geschrieben werden").arg(observer + "/SO2004.DAT"));
        QCOMPARE(ErrorOf([] { SaveColumnLayout(); }),
                 QStringLiteral("In %1 kann nicht geschrieben werden").arg(observer + "/AEF.CFG"));
        // The failed save above dropped the archive cache: the refresh finds no archive and
        // cannot make one.
        QCOMPARE(ErrorOf([&] { SaveYearSummaries(2004, summaries); }),
                 QStringLiteral("In %1 kann nicht geschrieben werden").arg(observer + "/20002049.asw"));
        const QString exportFile = observer + QStringLiteral("/Rezahl.dat");
        QCOMPARE(ErrorOf([&] { WriteExportFile(ExportRezahl, exportFile, source_); }),
                 QStringLiteral("In %1 kann nicht geschrieben werden").arg(exportFile));
        TYearBuffer back;
        QVERIFY(!ReadYear(2004, back)); // no folder, no year: nothing read, nothing written
        QCOMPARE(Read(observer), QByteArray("blocked"));

        QVERIFY(QFile::remove(observer));
        QVERIFY(QDir(dir.path()).rename(QStringLiteral("0001.away"), QStringLiteral("0001")));
        QCOMPARE(QDir(observer).entryList(QDir::Files), files);
        QVERIFY(ReadYear(2004, back));
        QVERIFY(!back.Day(3, 7).observed()); // the refused save changed nothing
        QVERIFY(WriteYear(2004, *year_));
        QVERIFY(ReadYear(2004, back));
        QVERIFY(back.Day(3, 7).observed());
        Storage().ArchiveNameCache.clear();
        QVERIFY(LoadYearSummaries(2004, summaries));
        QVERIFY(SaveYearSummaries(2004, summaries));
        SaveColumnLayout();
        WriteExportFile(ExportRezahl, exportFile, source_);
        QCOMPARE(QDir(observer).entryList(QDir::Files),
                 (QStringList{"20002049.asw", "AEF.CFG", "Rezahl.dat", "SO2004.DAT"}));
    }

private:
    TObserverProfile profile_{};
    std::unique_ptr<TYearBuffer> year_;
    TExportSource source_;
};

QTEST_GUILESS_MAIN(ExportFaultTest)
#include "test_export_faults.moc"
