#include "sonmonat_dlg.h"
#include "network/email_dlg.h"
#include "network/export_dlg.h"
#include "reports/form_preview_ui.h"
#include "storage/cp1252.h"
#include "uikit/help_viewer_dlg.h"

#include "entry/erfassung_dlg.h"
#include "grid/string_align_grid_widget.h"
#include "month_edit.h"
#include "month_grid_table.h"
#include "month_navigation.h"
#include "move_month_dlg.h"
#include "solar/tpdate.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"
#include "tab_dlg.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <cstring>

namespace {

constexpr int kHeaderHeight = 15;

QPushButton *NamedButton(const QString &text, const char *name) {
    auto *b = Named(new QPushButton(text), name);
    // The buttons act on a click only: Enter in the month or year field must
    // not open a report form.
    b->setAutoDefault(false);
    return b;
}

QFont ToQFont(const TExportFont &f) {
    QFont font(f.Face, f.PointSize);
    font.setBold(f.Bold);
    font.setItalic(f.Italic);
    font.setStrikeOut(f.StrikeOut);
    font.setUnderline(f.Underline);
    return font;
}

// Puts a table's texts and looks into a grid of the same size.
void ApplyGridTable(TStringAlignGrid &grid, const TGridTable &table) {
    if ((grid.color().rgb() & 0xFFFFFFu) != table.GridColor)
        grid.setColor(QColor(QRgb(table.GridColor)));
    grid.setHtmlBorder(table.Border);
    const int rows = std::min(grid.rows(), table.Rows);
    const int cols = std::min(grid.cols(), table.Cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const TExportCell &cell = table.cell(r, c);
            grid.setCellText(r, c, cell.Text);
            if (grid.cellAlignment(r, c) != cell.Align) {
                if (cell.Align == grid.columnAlignment(c))
                    grid.clearCellAlignment(r, c);
                else
                    grid.setCellAlignment(r, c, cell.Align);
            }
            if (cell.Color && (grid.cellColor(r, c).rgb() & 0xFFFFFFu) != *cell.Color)
                grid.setCellColor(r, c, QColor(QRgb(*cell.Color)));
            if (cell.Font)
                grid.setCellFont(r, c, ToQFont(*cell.Font));
        }
    }
}

} // namespace

TSonMonatDlg::TSonMonatDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SonMonatDlg"));
    setWindowTitle(QStringLiteral("TARVO - Monatsdaten"));
    columnOfKind_.fill(-1);

    SGMonat = new TStringAlignGrid;
    SGMonat->setObjectName(QStringLiteral("SGMonat"));
    SGMonat->setFont(QFont(QStringLiteral("Arial"), 8));
    SGMonat->setFixedRows(1);
    SGMonat->setRows(kMonthGridRows);
    SGMonat->setDefaultRowHeight(kHeaderHeight);
    SGMonat->setDefaultColWidth(40);
    SGMonat->setFixedFontSize(8);
    SGMonat->setEditable(false);
    // Tab leaves the table for the side panel; the arrow keys move in it.
    SGMonat->setTabKeyNavigation(false);
    SGMonat->setContextMenuPolicy(Qt::CustomContextMenu);
    // The header row's right button opens the column chooser, not the menu.
    SGMonat->horizontalHeader()->setContextMenuPolicy(Qt::PreventContextMenu);
    SGMonat->installEventFilter(this);

    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    QAction *shift = PopupMenu->addAction(QStringLiteral("aktuellen Monat verschieben"));
    shift->setObjectName(QStringLiteral("MonatVerschieben"));
    connect(shift, &QAction::triggered, this, [this] { MoveMonthClick(); });
    connect(SGMonat, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu->popup(SGMonat->mapToGlobal(pos)); });
    connect(SGMonat, &TStringAlignGrid::mouseDown, this,
            [this](Qt::MouseButton button, QPoint pos) { SGMonatMouseDown(button, pos); });
    connect(SGMonat, &TStringAlignGrid::rowDoubleClicked, this, [this](int) { EditDay(); });

    SEMonat = new QSpinBox;
    SEMonat->setObjectName(QStringLiteral("SEMonat"));
    SEMonat->setRange(0, 13); // 0 and 13 wrap into the neighbouring years
    SEJahr = new QSpinBox;
    SEJahr->setObjectName(QStringLiteral("SEJahr"));
    SEJahr->setRange(0, 2200);
    connect(SEMonat, &QSpinBox::valueChanged, this, [this] { SEMonatChange(); });
    connect(SEJahr, &QSpinBox::valueChanged, this, [this] { SEJahrChange(); });

    auto *monthLabel = new QLabel(QStringLiteral("&Monat"));
    monthLabel->setBuddy(SEMonat);
    auto *yearLabel = new QLabel(QStringLiteral("&Jahr"));
    yearLabel->setBuddy(SEJahr);
    Beob = new QLabel;
    Beob->setObjectName(QStringLiteral("Beob"));

    BtnSOB01 = NamedButton(QStringLiteral("&SOB01"), "BtnSOB01");
    BtnSOB09 = NamedButton(QStringLiteral("S&OB09"), "BtnSOB09");
    BtnExport = NamedButton(QStringLiteral("&Exportieren"), "BtnExport");
    BtnExport->setToolTip(QStringLiteral("exportieren des aktuellen Monats"));
    BtnClose = NamedButton(QStringLiteral("S&chließen"), "BtnClose");
    // Alt+M belongs to "&Monat".
    BtnEmail = NamedButton(QStringLiteral("E-M&ail"), "BtnEmail");
    connect(BtnSOB01, &QPushButton::clicked, this, [this] { BtnSOB01Click(); });
    connect(BtnSOB09, &QPushButton::clicked, this, [this] { BtnSOB09Click(); });
    connect(BtnExport, &QPushButton::clicked, this, [this] { BtnExportClick(); });
    connect(BtnClose, &QPushButton::clicked, this, [this] { BtnCloseClick(); });
    connect(BtnEmail, &QPushButton::clicked, this, [this] { BtnEmailClick(); });

    auto *side = new QVBoxLayout;
    side->addWidget(monthLabel);
    side->addWidget(SEMonat);
    side->addWidget(yearLabel);
    side->addWidget(SEJahr);
    side->addSpacing(10);
    side->addWidget(new QLabel(QStringLiteral("Beobachter:")));
    side->addWidget(Beob);
    side->addSpacing(10);
    for (QPushButton *b : {BtnSOB01, BtnSOB09, BtnExport, BtnClose, BtnEmail})
        side->addWidget(b);
    side->addStretch();

    auto *main = new QHBoxLayout(this);
    main->addWidget(SGMonat, 1);
    main->addLayout(side);
    setTabOrder(SGMonat, SEMonat);
    setTabOrder(SEMonat, SEJahr);
    setTabOrder(SEJahr, BtnSOB01);
    setTabOrder(BtnSOB01, BtnSOB09);
    setTabOrder(BtnSOB09, BtnExport);
    setTabOrder(BtnExport, BtnClose);
    setTabOrder(BtnClose, BtnEmail);
    resize(820, 620);

    // The month shift dialog lives as long as the table.
    moveDlg_ = new TMoveMonth(this);
    InstallHelpKey(this, HelpTopic::MonthTable);
}

TSonMonatDlg::~TSonMonatDlg() = default;

void TSonMonatDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSonMonatDlg::FormShow() {
    LoadLayout();

    if (const QScreen *s = screen(); s && s->geometry().height() >= 768) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    } else {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("TARVO32"),
                        QStringLiteral("Beste Darstellung ab Auflösung 1024x768"), QMessageBox::Ok, this);
        ExecMessageBox(box);
        setWindowState(windowState() | Qt::WindowMaximized);
    }

    Beob->setText(Profile.Name1.text());

    const QDate today = openingDate_.isValid() ? openingDate_ : QDate::currentDate();
    CurYear = static_cast<std::uint16_t>(std::clamp(today.year(), 0, 2200));
    CurMonth = static_cast<std::uint16_t>(today.month());
    CurDay = static_cast<std::uint16_t>(today.day());
    ReadShownYear();
    SyncSpinEdits();

    LayoutColumns();
    DaysInMonth = MonthLength(CurMonth, CurYear);
    UpdateSelectableRows();
    ShowDays(1, DaysInMonth);
    SumMonth(CurMonth);
    SelectRow(CurDay);
    SEMonat->setFocus();
}

void TSonMonatDlg::LoadLayout() {
    if (const QString problem = LoadColumnLayoutOrDefaults(); !problem.isEmpty())
        ShowError(this, problem);
}

void TSonMonatDlg::ReadShownYear() {
    Modified = false;
    try {
        ReadYear(CurYear, YearBuffer);
        yearOnDisk_ = YearBuffer;
        yearReadable_ = true;
        unreadableMessage_.clear();
    } catch (const TarvoError &e) {
        // The year is shown empty, but the file is the user's data: it is
        // never saved over while it cannot be read.
        yearReadable_ = false;
        unreadableMessage_ = QStringLiteral("Die Jahresdatei %1 kann nicht gelesen werden (%2).\n"
                                            "Das Jahr wird leer angezeigt; Änderungen an diesem Jahr sind "
                                            "nicht möglich, damit die Datei nicht überschrieben wird.")
                                 .arg(QDir::toNativeSeparators(YearFileName(CurYear)), e.message());
        ShowError(this, unreadableMessage_);
    }
}

bool TSonMonatDlg::RefuseChangesToUnreadableYear() {
    if (yearReadable_)
        return false;
    ShowInformation(this, unreadableMessage_);
    return true;
}

void TSonMonatDlg::SyncSpinEdits() {
    const bool wasChanging = changing_;
    changing_ = true;
    SEJahr->setValue(CurYear);
    SEMonat->setValue(CurMonth);
    changing_ = wasChanging;
}

void TSonMonatDlg::LayoutColumns() {
    SGMonat->setUpdatesEnabled(false);
    SGMonat->setFixedFontSize(8);
    columns_ = ShownColumns(Storage().ColumnLayout);
    columnOfKind_.fill(-1);
    SGMonat->setCols(static_cast<int>(columns_.size()));
    for (int col = 0; col < static_cast<int>(columns_.size()); ++col) {
        const TShownColumn &c = columns_[static_cast<size_t>(col)];
        columnOfKind_[static_cast<size_t>(c.Kind)] = col;
        SGMonat->setColumnAlignment(col, AlignFromByte(c.Ausr));
        SGMonat->setColWidth(col, c.Width);
    }
    ShowTable();
    SGMonat->setUpdatesEnabled(true);
}

// Titles, day rows and summary rows all come from MonthGridTable, the same
// table tarvo-cli exports; the grid only takes over what changed.
void TSonMonatDlg::ShowTable() {
    const TGridTable table = MonthGridTable(YearBuffer, CurMonth, CurYear, Storage().ColumnLayout, QLocale());
    SGMonat->setUpdatesEnabled(false);
    ApplyGridTable(*SGMonat, table);
    SGMonat->setUpdatesEnabled(true);
}

void TSonMonatDlg::ShowDays(int first, int last) {
    if (first == last) {
        ShowDay(first);
        return;
    }
    ShowTable();
}

void TSonMonatDlg::ShowDay(int row) {
    if (row < 1 || row > kMonthLastDayRow)
        return;
    ShowTable();
}

void TSonMonatDlg::SumMonth(int month) {
    totals_ = ::SumMonth(YearBuffer.Months[month], month, CurYear);
    Counts = totals_.Counts;
    ShowTable();
}

void TSonMonatDlg::ClearDay(int row) {
    ::ClearDay(YearBuffer, CurMonth, row);
}

void TSonMonatDlg::SelectRow(int row) {
    SGMonat->setSelectedRow(std::clamp(row, 1, DaysInMonth));
}

void TSonMonatDlg::UpdateSelectableRows() {
    const int previous = SGMonat->selectedRow();
    SGMonat->setSelectableRows(1, DaysInMonth);
    // The selection stays where it was, unless that day is not in this month.
    if (previous > DaysInMonth)
        SelectRow(DaysInMonth);
}

bool TSonMonatDlg::SaveIfModified() {
    if (!Modified)
        return true;
    if (!yearReadable_) {
        ShowError(this, unreadableMessage_);
        return false;
    }
    QString error;
    const TYearBuffer shown = YearBuffer;
    if (!SaveYearChanges(CurYear, yearOnDisk_, YearBuffer, &error)) {
        ShowError(this, error);
        return false;
    }
    Modified = false;
    // tarvo-cli may have changed other days (or sent a list) meanwhile: the
    // buffer holds them now.
    if (std::memcmp(&shown, &YearBuffer, sizeof shown) != 0) {
        ShowDays(1, DaysInMonth);
        SumMonth(CurMonth);
    }
    return true;
}

bool TSonMonatDlg::ChangeTo(int year, int month) {
    if (year < SEJahr->minimum() || year > SEJahr->maximum() || month < 1 || month > 12) {
        SyncSpinEdits();
        return false;
    }
    if (year == CurYear && month == CurMonth) {
        SyncSpinEdits();
        return true;
    }
    const bool saved = SaveIfModified();
    if (year != CurYear) {
        // Reading another year replaces the buffer: never with unsaved changes in it.
        if (!saved) {
            SyncSpinEdits();
            return false;
        }
        CurYear = static_cast<std::uint16_t>(year);
        CurMonth = static_cast<std::uint16_t>(month);
        ReadShownYear();
    } else {
        CurMonth = static_cast<std::uint16_t>(month);
    }
    SyncSpinEdits();
    DaysInMonth = MonthLength(CurMonth, CurYear);
    UpdateSelectableRows();
    ShowDays(1, DaysInMonth);
    SumMonth(CurMonth);
    return true;
}

void TSonMonatDlg::SEMonatChange() {
    if (changing_)
        return;
    const int value = SEMonat->value();
    if (value == 0)
        ChangeTo(CurYear - 1, 12);
    else if (value == 13)
        ChangeTo(CurYear + 1, 1);
    else
        ChangeTo(CurYear, value);
}

void TSonMonatDlg::SEJahrChange() {
    if (changing_)
        return;
    ChangeTo(SEJahr->value(), CurMonth);
}

TErfassungDlg &TSonMonatDlg::EntryDialog() {
    if (!entryDlg_)
        entryDlg_ = new TErfassungDlg(this);
    return *entryDlg_;
}

void TSonMonatDlg::EditDay() {
    if (RefuseChangesToUnreadableYear())
        return;
    TErfassungDlg &dlg = EntryDialog();
    dlg.NextDay = false;
    do {
        const int row = SGMonat->selectedRow();
        if (row < 1 || row > DaysInMonth)
            break;
        TDayRecord &slot = YearBuffer.Day(CurMonth, row);
        bool templated = false;
        TDayRecord undo{};
        if (dlg.NextDay) {
            dlg.NextDay = false;
            undo = ApplyNextDayTemplate(YearBuffer, CurMonth, row);
            templated = true;
        }
        dlg.Profile = Profile;
        dlg.DayData = slot;
        dlg.DayNo = row;
        dlg.MonthNo = CurMonth;
        dlg.YearNo = CurYear;
        if (dlg.exec() == QDialog::Accepted) {
            Modified = true;
            ClearDispatchStatus(YearBuffer, CurMonth);
            slot = dlg.DayData;
            ShowDay(row);
            SelectRow(std::min(row + 1, static_cast<int>(DaysInMonth)));
            SumMonth(CurMonth);
        } else {
            if (templated) {
                Modified = true;
                slot = undo;
            }
            dlg.NextDay = false;
        }
    } while (dlg.NextDay);
}

void TSonMonatDlg::DeleteDay() {
    const int row = SGMonat->selectedRow();
    if (row < 1 || row > DaysInMonth || RefuseChangesToUnreadableYear())
        return;
    ClearDay(row);
    ShowDay(row);
    SumMonth(CurMonth);
    Modified = true;
}

bool TSonMonatDlg::eventFilter(QObject *watched, QEvent *event) {
    if (watched != SGMonat || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *ke = static_cast<QKeyEvent *>(event);
    const int key = ke->key();
    if (ke->modifiers() & Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_PageUp:
            SEMonat->setValue(SEMonat->value() + 1);
            return true;
        case Qt::Key_PageDown:
            SEMonat->setValue(SEMonat->value() - 1);
            return true;
        case Qt::Key_Home:
            SEJahr->setValue(SEJahr->value() + 1);
            return true;
        case Qt::Key_End:
            SEJahr->setValue(SEJahr->value() - 1);
            return true;
        default:
            return QDialog::eventFilter(watched, event);
        }
    }
    switch (key) {
    case Qt::Key_Delete:
        DeleteDay();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EditDay();
        return true;
    default:
        break;
    }
    const int row = SGMonat->selectedRow();
    if (row >= 1) {
        if (const int target = NavigateRow(key, row, DaysInMonth); target > 0) {
            SelectRow(target);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSonMonatDlg::SGMonatMouseDown(Qt::MouseButton button, QPoint pos) {
    // The column chooser opens once the press has been handled.
    if (button == Qt::RightButton && pos.y() <= kHeaderHeight)
        QTimer::singleShot(0, this, [this] { OpenColumnChooser(); });
}

void TSonMonatDlg::OpenColumnChooser() {
    if (!tabDlg_) {
        tabDlg_ = new TTabDlg(this);
        Storage().DialogSlots[SlotTab] = true;
    }
    if (tabDlg_->exec() != QDialog::Accepted)
        return;
    try {
        SaveColumnLayout();
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
    LayoutColumns();
    ShowDays(1, DaysInMonth);
    SumMonth(CurMonth);
}

void TSonMonatDlg::MoveMonthClick() {
    if (RefuseChangesToUnreadableYear())
        return;
    moveDlg_->SourceMonth = CurMonth;
    if (moveDlg_->exec() != QDialog::Accepted || !moveDlg_->Confirmed)
        return;
    try {
        ShiftMonth(YearBuffer, CurMonth, moveDlg_->TargetMonth);
    } catch (const TarvoError &e) {
        ShowInformation(this, e.message());
        return;
    }
    ShowDays(1, DaysInMonth);
    SumMonth(CurMonth);
    Modified = true;
}

void TSonMonatDlg::BtnSOB01Click() {
    SaveIfModified();
    ShowSob01Preview(this, YearBuffer, CurMonth, CurYear, Profile, totals_);
}

void TSonMonatDlg::BtnSOB09Click() {
    SaveIfModified();
    ShowSob09Preview(this, YearBuffer, CurMonth, CurYear, Profile, totals_);
}

void TSonMonatDlg::BtnExportClick() {
    SaveIfModified();
    ExportDialog().Execute(
        Profile, YearBuffer, CurYear, CurMonth,
        [this] { return ToCp1252(SGMonat->exportText(QChar(kMonthExportSeparator))); },
        [this] { return ToCp1252(SGMonat->exportHtml(MonthExportCaption())); });
}

void TSonMonatDlg::BtnEmailClick() {
    if (RefuseChangesToUnreadableYear())
        return;
    // The dialog hands the year back with the updated dispatch status strings,
    // whatever the result.
    TEmailDLG &dlg = EmailDialog();
    dlg.SetMonth(Profile, YearBuffer, CurYear, CurMonth);
    dlg.exec();
    YearBuffer = dlg.Year();
    Modified = true;
    ShowDays(1, DaysInMonth);
    SumMonth(CurMonth);
}

void TSonMonatDlg::BtnCloseClick() {
    close();
}

void TSonMonatDlg::done(int result) {
    if (Modified && yearReadable_) {
        QString error;
        if (SaveYearChanges(CurYear, yearOnDisk_, YearBuffer, &error)) {
            Modified = false;
        } else {
            QMessageBox ask(QMessageBox::Question, QStringLiteral("TARVO32"),
                            error + QStringLiteral("\n\nDie Änderungen des Jahres %1 sind nicht gespeichert. "
                                                   "Trotzdem schließen und die Änderungen verwerfen?")
                                        .arg(CurYear),
                            QMessageBox::Yes | QMessageBox::No, this);
            ask.setDefaultButton(QMessageBox::No);
            if (ExecMessageBox(ask) != QMessageBox::Yes)
                return;
            Modified = false;
        }
    }
    QDialog::done(result);
}

TExportDLG &TSonMonatDlg::ExportDialog() {
    if (!exportDlg_) {
        exportDlg_ = new TExportDLG(this);
        Storage().DialogSlots[SlotExport] = true;
        connect(exportDlg_, &TExportDLG::helpRequested, this,
                [this] { ShowHelp(exportDlg_, HelpTopic::Export); });
    }
    return *exportDlg_;
}

TEmailDLG &TSonMonatDlg::EmailDialog() {
    if (!emailDlg_) {
        emailDlg_ = new TEmailDLG(this);
        Storage().DialogSlots[SlotEmail] = true;
        connect(emailDlg_, &TEmailDLG::helpRequested, this, [this] { ShowHelp(emailDlg_, HelpTopic::Mail); });
    }
    return *emailDlg_;
}
