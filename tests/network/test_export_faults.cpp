// Exports whose write fails half-way (file size limit) or whose target folder
// is unusable must leave the previous file intact, say so in German, and
// succeed when tried again.
#include "../common/error_of.h"
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
        ResetColumnLayout();
        document_.assign(2004, 3, *year_);
        source_ = TExportSource{&profile_, &document_};
    }

    void failedWriteKeepsThePreviousFile_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("appends");
        QTest::addColumn<QByteArray>("written"); // what the retry adds, or the whole new file
        // The month table has 35 rows; rows 5 and 6 hold the two days.
        QByteArray table = "Tag;Bemerkung;UT;R;S;Q;Gn;Fn;Gs;Fs;G;F;Re;Rb;A;\r\n";
        for (int day = 1; day <= 31; ++day)
            table += day == 5 || day == 6
                         ? QByteArray("0") + QByteArray::number(day) + ";;09:30;2;3;1;2;10;1;4;3;14;44;50;2;\r\n"
                         : (day < 10 ? "0" : "") + QByteArray::number(day) + ";;;;;;;;;;;;;;;\r\n";
        table += ";Summe;;4;6;2;4;20;2;8;6;28;88;100;4;\r\n"
                 ";Anzahl;;2;2;2;2;2;2;2;2;2;2;2;2;\r\n"
                 ";Mittel;;2.0;3.0;1.0;2.0;10.0;1.0;4.0;3.0;14.0;44.0;50.0;2.0;\r\n";
        const QByteArray re = "2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14   50E Muster           Refr.  80 1200\r\n"
                              "2004 3 6  9.3 2.0 3.0  2  10  1   4  3  14   50E Muster           Refr.  80 1200\r\n";
        QTest::newRow("csv") << int(ExportCsv) << false << table;
        QTest::newRow("html") << int(ExportHtml) << false << QByteArray();
        QTest::newRow("relative numbers") << int(ExportRezahl) << true << re;
        QTest::newRow("A numbers") << int(ExportAzahl) << true << QByteArray();
        QTest::newRow("faculae") << int(ExportFzahl) << true << QByteArray();
    }
    void failedWriteKeepsThePreviousFile() {
        QFETCH(int, type);
        QFETCH(bool, appends);
        QFETCH(QByteArray, written);
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
        QVERIFY(Read(file).size() > 128);
        QCOMPARE(Read(file).startsWith(before), appends);
        if (!written.isEmpty())
            QCOMPARE(Read(file), (appends ? before : QByteArray()) + written);
        if (type == ExportHtml)
            QVERIFY(Read(file).startsWith("<table bgcolor=#FFFFFF border=1 caption=\"Tarvo Daten\">\r\n"));
        if (type == ExportAzahl || type == ExportFzahl)
            QCOMPARE(Read(file).count("\r\n"), 10 + (type == ExportAzahl ? 32 : 2)); // header + 31 days, or 2 days
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
        QCOMPARE(ErrorOf([&] { WriteYear(2004, *year_); }),
                 QStringLiteral("In %1 kann nicht geschrieben werden").arg(observer + "/SO2004.DAT"));
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
    TMonthDocument document_;
    TExportSource source_;
};

QTEST_GUILESS_MAIN(ExportFaultTest)
#include "test_export_faults.moc"
