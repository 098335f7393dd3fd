// Writing the export files.
#include "network/export_files.h"
#include "storage/column_layout.h"
#include "network/network_lines.h"
#include "storage/tarvo_error.h"
#include "test_lines_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestExport : public QObject {
    Q_OBJECT

private slots:
    void init();
    void proposedNames();
    void aNumbersTwiceGivesTwoCopies();
    void emptyMonthGivesEmptyRezahl();
    void gridExportsReplaceTheFile_data();
    void gridExportsReplaceTheFile();
    void badNames_data();
    void badNames();

private:
    QByteArray Read(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir_;
    TObserverProfile profile_{};
    std::unique_ptr<TYearBuffer> year_;
    TMonthDocument document_;
    TExportSource source_;
};

void TestExport::init() {
    profile_ = LinesTestProfile();
    year_ = ZeroYear();
    year_->Day(3, 5) = FullDay();
    ResetColumnLayout();
    document_.assign(2004, 3, *year_);
    source_ = TExportSource{&profile_, &document_};
}

void TestExport::proposedNames() {
    QCOMPARE(ProposedExportName(ExportCsv), QString());
    QCOMPARE(ProposedExportName(ExportRezahl), QStringLiteral("Rezahl.dat"));
    QCOMPARE(ProposedExportName(ExportAzahl), QStringLiteral("Azahl.dat"));
    QCOMPARE(ProposedExportName(ExportFzahl), QStringLiteral("Fzahl.dat"));
    QCOMPARE(ExportMask(ExportCsv), QStringLiteral("*.csv"));
    QCOMPARE(ExportMask(ExportHtml), QStringLiteral("*.html"));
    QCOMPARE(ExportMask(ExportFzahl), QStringLiteral("*.dat"));
}

void TestExport::aNumbersTwiceGivesTwoCopies() {
    const QString file = dir_.filePath(QStringLiteral("Azahl.dat"));
    WriteExportFile(ExportAzahl, file, source_);
    WriteExportFile(ExportAzahl, file, source_);
    const QByteArray once = MonthLines(NetworkLineKind::ANumbers, profile_, *year_, 2004, 3);
    QVERIFY(once.startsWith(";Max M\xfcller, Hauptstr. 1, 12345 Ort\r\n"));
    QCOMPARE(once.count("\r\n"), 1 + 31);
    QCOMPARE(Read(file), once + once);
}

void TestExport::emptyMonthGivesEmptyRezahl() {
    const QString file = dir_.filePath(QStringLiteral("Rezahl.dat"));
    document_.assign(2004, 4, *year_);
    WriteExportFile(ExportRezahl, file, source_);
    QCOMPARE(Read(file), QByteArray());
}

void TestExport::gridExportsReplaceTheFile_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<int>("lines");
    QTest::newRow("csv") << int(ExportCsv) << QByteArray("Tag;Bemerkung;UT;R;S;Q;Gn;Fn;Gs;Fs;G;F;Re;Rb;A;\r\n")
                         << QByteArray(";Mittel;;2.0;3.0;1.0;2.0;10.0;1.0;4.0;3.0;14.0;44.0;50.0;2.0;\r\n") << 35;
    QTest::newRow("html") << int(ExportHtml)
                          << QByteArray("<table bgcolor=#FFFFFF border=1 caption=\"Tarvo Daten\">\r\n"
                                        " <caption><h2>Tarvo Daten</h2></caption>\r\n <tr>\r\n")
                          << QByteArray(" </tr>\r\n</table>\r\n") << 35 * (2 + 15 * 3) + 3;
}

void TestExport::gridExportsReplaceTheFile() {
    QFETCH(int, type);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    QFETCH(int, lines);
    const QString file = dir_.filePath(QStringLiteral("monat.txt"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("an older and much longer export that must disappear completely\r\n");
    }
    WriteExportFile(type, file, source_);
    const QByteArray written = Read(file);
    QVERIFY(written.startsWith(start));
    QVERIFY(written.endsWith(end));
    QCOMPARE(written.count("\r\n"), lines);
    QVERIFY(!written.contains("older"));
}

void TestExport::badNames_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("mask left") << int(ExportCsv) << "*.csv"
                               << "Ungültiger Dateiname: '%1'";
    QTest::newRow("directory") << int(ExportRezahl) << ""
                               << "'%1' ist ein Verzeichnis";
    QTest::newRow("missing directory") << int(ExportFzahl) << "fehlt/Fzahl.dat"
                                       << "In %1 kann nicht geschrieben werden";
    QTest::newRow("missing directory, csv") << int(ExportCsv) << "fehlt/a.csv"
                                            << "In %1 kann nicht geschrieben werden";
}

void TestExport::badNames() {
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, message);
    const QString file = dir_.filePath(name);
    try {
        WriteExportFile(type, file, source_);
        QFAIL("no error");
    } catch (const TarvoError &e) {
        QCOMPARE(e.message(), message.arg(file));
    }
    QVERIFY(!QFile::exists(file) || QFileInfo(file).isDir());
}

QTEST_GUILESS_MAIN(TestExport)
#include "test_export.moc"
