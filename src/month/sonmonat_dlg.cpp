#include "sonmonat_dlg.h"
#include "network/email_dlg.h"
#include "network/export_dlg.h"
#include "reports/form_preview_ui.h"
#include "uikit/dialog_slots.h"
#include "uikit/help_viewer_dlg.h"

#include "entry/erfassung_dlg.h"
#include "grid/string_align_grid_widget.h"
#include "month_grid_table.h"
#include "month_navigation.h"
#include "move_month_dlg.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "tab_dlg.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

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

TSonMonatDlg::TSonMonatDlg(QWidget *parent, DialogSlotTable *slotTable) : QDialog(parent) {
    if (!slotTable)
        ownSlots_ = std::make_unique<DialogSlotTable>();
    slots_ = slotTable ? slotTable : ownSlots_.get();
    setObjectName(QStringLiteral("TSonMonatDlg"));
    setWindowTitle(QStringLiteral("TARVO - Monatsdaten"));

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
    document_.open(std::clamp(today.year(), 0, 2200), today.month());
    ShowReadProblem();
    SyncSpinEdits();

    LayoutColumns();
    UpdateSelectableRows();
    SelectRow(today.day());
    SEMonat->setFocus();
}

void TSonMonatDlg::LoadLayout() {
    if (const QString problem = LoadColumnLayoutOrDefaults(); !problem.isEmpty())
        ShowError(this, problem);
}

void TSonMonatDlg::ShowReadProblem() {
    if (!document_.isReadable())
        ShowError(this, document_.unreadableMessage());
}

bool TSonMonatDlg::RefuseChangesToUnreadableYear() {
    if (document_.isReadable())
        return false;
    ShowInformation(this, document_.unreadableMessage());
    return true;
}

void TSonMonatDlg::SyncSpinEdits() {
    const bool wasChanging = changing_;
    changing_ = true;
    SEJahr->setValue(document_.year());
    SEMonat->setValue(document_.month());
    changing_ = wasChanging;
}

void TSonMonatDlg::LayoutColumns() {
    SGMonat->setUpdatesEnabled(false);
    SGMonat->setFixedFontSize(8);
    const std::vector<TShownColumn> columns = ShownColumns(Storage().ColumnLayout);
    SGMonat->setCols(static_cast<int>(columns.size()));
    for (int col = 0; col < static_cast<int>(columns.size()); ++col) {
        const TShownColumn &c = columns[static_cast<size_t>(col)];
        SGMonat->setColumnAlignment(col, AlignFromByte(c.Ausr));
        SGMonat->setColWidth(col, c.Width);
    }
    ShowTable();
    SGMonat->setUpdatesEnabled(true);
}

// Titles, day rows and summary rows all come from MonthGridTable, the same
// table tarvo-cli exports; the grid only takes over what changed.
void TSonMonatDlg::ShowTable() {
    const TGridTable table = MonthGridTable(document_.yearData(), document_.month(), document_.year(),
                                            Storage().ColumnLayout, QLocale());
    SGMonat->setUpdatesEnabled(false);
    ApplyGridTable(*SGMonat, table);
    SGMonat->setUpdatesEnabled(true);
}

void TSonMonatDlg::SelectRow(int row) {
    SGMonat->setSelectedRow(std::clamp(row, 1, document_.daysInMonth()));
}

void TSonMonatDlg::UpdateSelectableRows() {
    const int previous = SGMonat->selectedRow();
    SGMonat->setSelectableRows(1, document_.daysInMonth());
    // The selection stays where it was, unless that day is not in this month.
    if (previous > document_.daysInMonth())
        SelectRow(document_.daysInMonth());
}

bool TSonMonatDlg::SaveIfModified() {
    try {
        document_.SaveIfModified();
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
        return false;
    }
    // A save may have brought in what tarvo-cli wrote meanwhile.
    ShowTable();
    return true;
}

bool TSonMonatDlg::ChangeTo(int year, int month) {
    if (year < SEJahr->minimum() || year > SEJahr->maximum() || month < 1 || month > 12) {
        SyncSpinEdits();
        return false;
    }
    const int shownYear = document_.year();
    bool changed = true;
    try {
        document_.switchTo(year, month);
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
        changed = document_.year() == year && document_.month() == month;
    }
    if (document_.year() != shownYear)
        ShowReadProblem();
    SyncSpinEdits();
    UpdateSelectableRows();
    ShowTable();
    return changed;
}

void TSonMonatDlg::SEMonatChange() {
    if (changing_)
        return;
    const int value = SEMonat->value();
    if (value == 0)
        ChangeTo(document_.year() - 1, 12);
    else if (value == 13)
        ChangeTo(document_.year() + 1, 1);
    else
        ChangeTo(document_.year(), value);
}

void TSonMonatDlg::SEJahrChange() {
    if (changing_)
        return;
    ChangeTo(SEJahr->value(), document_.month());
}

TErfassungDlg &TSonMonatDlg::EntryDialog() {
    if (!entryDlg_)
        entryDlg_ = new TErfassungDlg(this, slots_);
    return *entryDlg_;
}

void TSonMonatDlg::EditDay() {
    if (RefuseChangesToUnreadableYear())
        return;
    TErfassungDlg &dlg = EntryDialog();
    dlg.NextDay = false;
    do {
        const int row = SGMonat->selectedRow();
        if (row < 1 || row > document_.daysInMonth())
            break;
        if (dlg.NextDay) {
            dlg.NextDay = false;
            document_.startNextDay(row);
        }
        dlg.Profile = Profile;
        dlg.DayData = document_.day(row);
        dlg.DayNo = row;
        dlg.MonthNo = document_.month();
        dlg.YearNo = document_.year();
        if (dlg.exec() == QDialog::Accepted) {
            document_.storeDay(row, dlg.DayData);
            ShowTable();
            SelectRow(row + 1);
        } else {
            document_.cancelNextDay();
            dlg.NextDay = false;
        }
    } while (dlg.NextDay);
    ShowTable();
}

void TSonMonatDlg::DeleteDay() {
    const int row = SGMonat->selectedRow();
    if (row < 1 || row > document_.daysInMonth() || RefuseChangesToUnreadableYear())
        return;
    document_.ClearDay(row);
    ShowTable();
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
        if (const int target = NavigateRow(key, row, document_.daysInMonth()); target > 0) {
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
    if (slots_->get<TTabDlg>(SlotTab, this)->exec() != QDialog::Accepted)
        return;
    try {
        SaveColumnLayout();
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
    LayoutColumns();
}

void TSonMonatDlg::MoveMonthClick() {
    if (RefuseChangesToUnreadableYear())
        return;
    moveDlg_->SourceMonth = static_cast<std::uint16_t>(document_.month());
    if (moveDlg_->exec() != QDialog::Accepted || !moveDlg_->Confirmed)
        return;
    try {
        document_.shiftTo(moveDlg_->TargetMonth);
    } catch (const TarvoError &e) {
        ShowInformation(this, e.message());
        return;
    }
    ShowTable();
}

void TSonMonatDlg::BtnSOB01Click() {
    SaveIfModified();
    ShowSob01Preview(*slots_, this, document_.yearData(), document_.month(), document_.year(), Profile,
                     document_.totals());
}

void TSonMonatDlg::BtnSOB09Click() {
    SaveIfModified();
    ShowSob09Preview(*slots_, this, document_.yearData(), document_.month(), document_.year(), Profile,
                     document_.totals());
}

void TSonMonatDlg::BtnExportClick() {
    SaveIfModified();
    ExportDialog().Execute(Profile, document_);
}

void TSonMonatDlg::BtnEmailClick() {
    if (RefuseChangesToUnreadableYear())
        return;
    // The dialog hands the year back with the updated dispatch status strings,
    // whatever the result.
    TEmailDLG &dlg = EmailDialog();
    dlg.setMonth(Profile, document_.yearData(), document_.year(), document_.month());
    dlg.exec();
    document_.adoptDispatchStatus(dlg.year());
    ShowTable();
}

void TSonMonatDlg::BtnCloseClick() {
    close();
}

void TSonMonatDlg::done(int result) {
    if (document_.isModified() && document_.isReadable()) {
        try {
            document_.SaveIfModified();
        } catch (const TarvoError &e) {
            QMessageBox ask(QMessageBox::Question, QStringLiteral("TARVO32"),
                            e.message() + QStringLiteral("\n\nDie Änderungen des Jahres %1 sind nicht gespeichert. "
                                                         "Trotzdem schließen und die Änderungen verwerfen?")
                                              .arg(document_.year()),
                            QMessageBox::Yes | QMessageBox::No, this);
            ask.setDefaultButton(QMessageBox::No);
            if (ExecMessageBox(ask) != QMessageBox::Yes)
                return;
        }
    }
    QDialog::done(result);
}

TExportDLG &TSonMonatDlg::ExportDialog() {
    const bool made = slots_->at(SlotExport) == nullptr;
    auto *dlg = slots_->get<TExportDLG>(SlotExport, this);
    if (made)
        connect(dlg, &TExportDLG::helpRequested, this, [dlg] { ShowHelp(dlg, HelpTopic::Export); });
    return *dlg;
}

TEmailDLG &TSonMonatDlg::EmailDialog() {
    const bool made = slots_->at(SlotEmail) == nullptr;
    auto *dlg = slots_->get<TEmailDLG>(SlotEmail, this);
    if (made)
        connect(dlg, &TEmailDLG::helpRequested, this, [dlg] { ShowHelp(dlg, HelpTopic::Mail); });
    return *dlg;
}
