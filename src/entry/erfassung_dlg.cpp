#include "erfassung_dlg.h"

#include "beck_dlg.h"
#include "entry_number.h"
#include "entry_time.h"
#include "storage/day_fields.h"
#include "storage/storage_state.h"
#include "uikit/dialog_slots.h"
#include "uikit/focus_group.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/warning_memory.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>

namespace {

constexpr int kBoxCount = 8;

int Index(EntryBox box) {
    return static_cast<int>(box);
}

bool Inside(const QWidget *group, const QWidget *w) {
    return w && (w == group || group->isAncestorOf(w));
}

QLabel *MakeLabel(const QString &text, QWidget *buddy, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Lbl") + buddy->objectName());
    label->setBuddy(buddy);
    return label;
}

QGroupBox *MakeBox(const char *name, const QString &title, QWidget *parent) {
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1StringView(name));
    return box;
}

// The text fields in focus order (buttons and the check box are placed between them).
constexpr const char *kFieldOrder[] = {
    "Bemerkung", "Zeit", "Ruhe", "Schaerfe", "Qualitaet", "g_n", "f_n", "g_s", "f_s", "g",   "f",   "Rs", "p",
    "s",         "CV",   "A",    "Ab",       "Fo",        "Fm",  "FEF", "FEP", "pfn", "pfs", "z_f", "Po"};

} // namespace

TErfassungDlg::TErfassungDlg(QWidget *parent, DialogSlotTable *slotTable) : QDialog(parent) {
    if (!slotTable)
        ownSlots_ = std::make_unique<DialogSlotTable>();
    slots_ = slotTable ? slotTable : ownSlots_.get();
    std::memset(&DayData, 0, sizeof DayData);
    std::memset(&Profile, 0, sizeof Profile);
    setObjectName(QStringLiteral("TErfassungDlg"));
    BuildControls();

    watcher_ = new FocusGroupWatcher(this);
    warnings_ = std::make_unique<WarningMemory>();
    // Field-level checks come first: a check that keeps the focus inside its
    // box stops the checks of the enclosing box.
    watcher_->addGroup(Edit("Zeit"), [this] { ZeitExit(); });
    for (const char *name : {"Bemerkung", "Ruhe", "Schaerfe", "Qualitaet"}) {
        QLineEdit *edit = Edit(name);
        watcher_->addGroup(edit, [this, edit] { BoxExit(EntryBox::General, edit); });
    }
    for (const char *name : {"g_n", "f_n", "g_s", "f_s"}) {
        QLineEdit *edit = Edit(name);
        watcher_->addGroup(edit, [this, edit] { n_s_Exit(edit); });
    }
    for (const char *name : {"A", "Ab"}) {
        QLineEdit *edit = Edit(name);
        watcher_->addGroup(edit, [this, edit] { BoxExit(EntryBox::A, edit); });
    }
    for (EntryBox box :
         {EntryBox::Wolf, EntryBox::Beck, EntryBox::Pettis, EntryBox::CV, EntryBox::Fackel, EntryBox::LB}) {
        QGroupBox *group = boxes_[Index(box)];
        watcher_->addGroup(group, [this, box, group] { BoxExit(box, group); });
    }
    // A box becomes pending when the focus enters it. Connected after the
    // watcher so that a box left and re-entered in one move stays pending.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        // Focus coming back from another window (a message box) is no entering.
        if (!old || !now || old->window() != this || now->window() != this)
            return;
        for (int i = 0; i < kBoxCount; ++i)
            if (Inside(boxes_[i], now))
                pending_[i] = true;
    });
    // An edit makes its box pending as well, so an edit after a check's own
    // focus move is never lost on OK.
    for (int i = 0; i < kBoxCount; ++i) {
        for (QLineEdit *edit : boxes_[i]->findChildren<QLineEdit *>())
            connect(edit, &QLineEdit::textEdited, this, [this, i] { pending_[i] = true; });
    }
    connect(cbFl_, &QCheckBox::toggled, this, [this] { pending_[Index(EntryBox::Fackel)] = true; });
    InstallHelpKey(this, HelpTopic::DayEntry);
}

TErfassungDlg::~TErfassungDlg() = default;

QLineEdit *TErfassungDlg::Edit(const char *name) const {
    return edits_.value(QLatin1StringView(name));
}

void TErfassungDlg::BuildControls() {
    const int numberWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 18;
    auto makeEdit = [this, numberWidth](const char *name, QWidget *parent, int width = 0) {
        auto *edit = new QLineEdit(parent);
        edit->setObjectName(QLatin1StringView(name));
        edit->setFixedWidth(width > 0 ? width : numberWidth);
        edit->installEventFilter(this);
        edits_.insert(QLatin1StringView(name), edit);
        return edit;
    };
    auto hintBoth = [](QWidget *a, QWidget *b, const QString &hint) {
        a->setToolTip(hint);
        b->setToolTip(hint);
    };

    // General data.
    QGroupBox *gbAllg = MakeBox("GBallg", QStringLiteral(" Allgemeine Daten "), this);
    boxes_[Index(EntryBox::General)] = gbAllg;
    {
        auto *grid = new QGridLayout(gbAllg);
        QLineEdit *bemerkung = makeEdit("Bemerkung", gbAllg, numberWidth * 3);
        bemerkung->setMaxLength(15);
        lblBemerkung_ = MakeLabel(QStringLiteral("&Bemerkung"), bemerkung, gbAllg);
        grid->addWidget(lblBemerkung_, 0, 0);
        grid->addWidget(bemerkung, 0, 1, 1, 3);
        QLineEdit *zeit = makeEdit("Zeit", gbAllg);
        // Hour with an optional first digit, minutes with two required digits.
        zeit->setInputMask(QStringLiteral("09:99;_"));
        grid->addWidget(MakeLabel(QStringLiteral("Welt&zeit"), zeit, gbAllg), 0, 4);
        grid->addWidget(zeit, 0, 5);
        int column = 0;
        for (auto [name, caption] : {std::pair{"Ruhe", "&Ruhe"}, std::pair{"Schaerfe", "&Schärfe"},
                                     std::pair{"Qualitaet", "&Qualität"}}) {
            QLineEdit *edit = makeEdit(name, gbAllg);
            edit->setMaxLength(1);
            edit->setToolTip(QStringLiteral("1 - sehr gut, 5 - unmöglich"));
            grid->addWidget(MakeLabel(QString::fromUtf8(caption), edit, gbAllg), 1, column);
            grid->addWidget(edit, 1, column + 1);
            column += 2;
        }
    }

    // Wolf relative number.
    QGroupBox *gbWolf = MakeBox("GBWolf", QStringLiteral(" Wolfsche Relativzahl "), this);
    boxes_[Index(EntryBox::Wolf)] = gbWolf;
    {
        auto *grid = new QGridLayout(gbWolf);
        auto pairBox = [&](const char *boxName, const QString &title, const char *gName, const char *gCaption,
                           const char *fName, const char *fCaption) {
            QGroupBox *box = MakeBox(boxName, title, gbWolf);
            auto *g = new QGridLayout(box);
            QLineEdit *ge = makeEdit(gName, box);
            QLineEdit *fe = makeEdit(fName, box);
            g->addWidget(MakeLabel(QString::fromUtf8(gCaption), ge, box), 0, 0);
            g->addWidget(ge, 0, 1);
            g->addWidget(MakeLabel(QString::fromUtf8(fCaption), fe, box), 1, 0);
            g->addWidget(fe, 1, 1);
            return box;
        };
        gbNord_ = pairBox("GBNord", QStringLiteral(" Nord "), "g_n", "&Gruppen", "f_n", "&Flecken");
        gbSued_ = pairBox("GBSued", QStringLiteral(" Süd "), "g_s", "Gr&uppen", "f_s", "F&lecken");
        QGroupBox *gesamt = pairBox("GBGesamt", QStringLiteral(" Gesamt "), "g", "Gru&ppen", "f", "Fl&ecken");
        auto *gesamtGrid = static_cast<QGridLayout *>(gesamt->layout());
        gesamtGrid->setColumnMinimumWidth(2, 12);
        gesamtGrid->addWidget(new QLabel(QStringLiteral("Re:"), gesamt), 0, 3, 2, 1);
        lblRe_ = new QLabel(gesamt);
        lblRe_->setObjectName(QStringLiteral("Re"));
        lblRe_->setMinimumWidth(numberWidth);
        QFont bold = lblRe_->font();
        bold.setBold(true);
        lblRe_->setFont(bold);
        gesamtGrid->addWidget(lblRe_, 0, 4, 2, 1);
        gesamtGrid->setColumnStretch(5, 1);
        grid->addWidget(gbNord_, 0, 0);
        grid->addWidget(gbSued_, 0, 1);
        grid->addWidget(gesamt, 1, 0, 1, 2);
    }

    // Beck relative number.
    QGroupBox *gbBeck = MakeBox("GBBeck", QStringLiteral(" Be&ck'sche Relativzahl "), this);
    boxes_[Index(EntryBox::Beck)] = gbBeck;
    {
        auto *row = new QHBoxLayout(gbBeck);
        QLineEdit *rs = makeEdit("Rs", gbBeck, numberWidth + 16);
        row->addWidget(MakeLabel(QStringLiteral("Rs"), rs, gbBeck));
        row->addWidget(rs);
        beckHlp_ = new QToolButton(gbBeck);
        beckHlp_->setObjectName(QStringLiteral("BeckHlp"));
        beckHlp_->setText(QStringLiteral("..."));
        beckHlp_->setToolTip(QStringLiteral("Beck Hilfsrechner"));
        // Reached with Tab after Rs; Space or Enter opens the calculator.
        beckHlp_->setFocusPolicy(Qt::TabFocus);
        beckHlp_->installEventFilter(this);
        row->addWidget(beckHlp_);
        row->addStretch(1);
    }

    // Pettis number.
    QGroupBox *gbPettis = MakeBox("GBPettis", QStringLiteral(" Pe&ttis Zahl "), this);
    boxes_[Index(EntryBox::Pettis)] = gbPettis;
    {
        auto *grid = new QGridLayout(gbPettis);
        QLineEdit *p = makeEdit("p", gbPettis);
        QLineEdit *s = makeEdit("s", gbPettis);
        grid->addWidget(MakeLabel(QStringLiteral("p"), p, gbPettis), 0, 0);
        grid->addWidget(p, 0, 1);
        grid->addWidget(MakeLabel(QStringLiteral("s"), s, gbPettis), 1, 0);
        grid->addWidget(s, 1, 1);
        grid->setColumnMinimumWidth(2, 12);
        grid->addWidget(new QLabel(QStringLiteral("SN:"), gbPettis), 0, 3, 2, 1);
        lblSN_ = new QLabel(gbPettis);
        lblSN_->setObjectName(QStringLiteral("SN"));
        lblSN_->setMinimumWidth(numberWidth);
        QFont bold = lblSN_->font();
        bold.setBold(true);
        lblSN_->setFont(bold);
        grid->addWidget(lblSN_, 0, 4, 2, 1);
    }

    // Classification value.
    QGroupBox *gbCV = MakeBox("GBCV", QStringLiteral(" Klassifikationswert "), this);
    boxes_[Index(EntryBox::CV)] = gbCV;
    {
        auto *row = new QHBoxLayout(gbCV);
        QLineEdit *cv = makeEdit("CV", gbCV);
        row->addWidget(MakeLabel(QStringLiteral("C&V"), cv, gbCV));
        row->addWidget(cv);
        row->addStretch(1);
    }

    // A network.
    QGroupBox *gbA = MakeBox("GBA", QStringLiteral(" &A-Netz "), this);
    boxes_[Index(EntryBox::A)] = gbA;
    {
        auto *row = new QHBoxLayout(gbA);
        QLineEdit *a = makeEdit("A", gbA);
        QLineEdit *ab = makeEdit("Ab", gbA);
        row->addWidget(MakeLabel(QStringLiteral("A"), a, gbA));
        row->addWidget(a);
        row->addSpacing(8);
        row->addWidget(MakeLabel(QStringLiteral("A*"), ab, gbA));
        row->addWidget(ab);
        row->addStretch(1);
    }

    // Faculae.
    QGroupBox *gbFackel = MakeBox("GBFackel", QStringLiteral(" Fac&keln "), this);
    boxes_[Index(EntryBox::Fackel)] = gbFackel;
    {
        auto *column = new QVBoxLayout(gbFackel);
        QGroupBox *haupt = MakeBox("GBHauptzone", QStringLiteral(" Hauptzone "), gbFackel);
        auto *hg = new QGridLayout(haupt);
        const std::pair<const char *, const char *> mainZone[] = {
            {"Fo", "Zahl der Flächenfackelgebiete ohne Flecken"},
            {"Fm", "Zahl der Flächenfackelgebiete mit Flecken"},
            {"FEF", "Zahl der flächenhaften Einzelfackeln innerhalb von fo- und fm-Gebieten"},
            {"FEP", "Zahl der flächenhaften Einzelfackeln außerhalb von fo- und fm-Gebieten"}};
        int row = 0;
        for (auto [name, hint] : mainZone) {
            QLineEdit *edit = makeEdit(name, haupt);
            QLabel *label = MakeLabel(QLatin1StringView(name), edit, haupt);
            hintBoth(edit, label, QString::fromUtf8(hint));
            hg->addWidget(label, row, 0);
            hg->addWidget(edit, row, 1);
            ++row;
        }
        column->addWidget(haupt);
        QGroupBox *pol = MakeBox("GBPolzone", QStringLiteral(" Polzone "), gbFackel);
        auto *pg = new QGridLayout(pol);
        const std::pair<const char *, const char *> polarZone[] = {
            {"pfn", "Zahl der nördlichen Polfackeln (+50°-+90°)"},
            {"pfs", "Zahl der südlichen Polfackeln (-50°--90°)"}};
        row = 0;
        for (auto [name, hint] : polarZone) {
            QLineEdit *edit = makeEdit(name, pol);
            QLabel *label = MakeLabel(QLatin1StringView(name), edit, pol);
            hintBoth(edit, label, QString::fromUtf8(hint));
            pg->addWidget(label, row, 0);
            pg->addWidget(edit, row, 1);
            ++row;
        }
        column->addWidget(pol);
        auto *rest = new QGridLayout;
        QLineEdit *zf = makeEdit("z_f", gbFackel);
        zf->setMaxLength(5);
        QLabel *zfLabel = MakeLabel(QStringLiteral("Z/F"), zf, gbFackel);
        hintBoth(zf, zfLabel, QStringLiteral("Zeichung oder Foto"));
        QLineEdit *po = makeEdit("Po", gbFackel);
        po->setMaxLength(5);
        QLabel *poLabel = MakeLabel(QStringLiteral("P"), po, gbFackel);
        hintBoth(po, poLabel,
                 QStringLiteral("Bei Positionsbestimmung bitte H für Hauptzone und P für Polzone"));
        cbFl_ = new QCheckBox(QStringLiteral("Fl"), gbFackel);
        cbFl_->setObjectName(QStringLiteral("CBFl"));
        cbFl_->setToolTip(QStringLiteral("Flächenmessung bei Flächenfackeln"));
        cbFl_->installEventFilter(this);
        rest->addWidget(zfLabel, 0, 0);
        rest->addWidget(zf, 0, 1);
        rest->addWidget(poLabel, 1, 0);
        rest->addWidget(po, 1, 1);
        rest->addWidget(cbFl_, 2, 1);
        column->addLayout(rest);
    }

    // Light bridges.
    QGroupBox *gbLB = MakeBox("GBLB", QStringLiteral(" L&ichtbrücken "), this);
    boxes_[Index(EntryBox::LB)] = gbLB;
    {
        auto *grid = new QGridLayout(gbLB);
        int row = 0;
        for (auto [name, caption] :
             {std::pair{"LN", "L-Nord"}, std::pair{"LS", "L-Süd"}, std::pair{"LGES", "L-Gesamt"}}) {
            QLineEdit *edit = makeEdit(name, gbLB);
            grid->addWidget(MakeLabel(QString::fromUtf8(caption), edit, gbLB), row, 0);
            grid->addWidget(edit, row, 1);
            ++row;
        }
    }

    btnOK_ = new QPushButton(QStringLiteral("&OK, fertig"), this);
    btnOK_->setObjectName(QStringLiteral("BtnOK"));
    btnNext_ = new QPushButton(QStringLiteral("OK, &nächster Tag"), this);
    btnNext_->setObjectName(QStringLiteral("BtnNext"));
    btnCancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnCancel_->setObjectName(QStringLiteral("BtnCancel"));
    for (QPushButton *b : {btnOK_, btnNext_, btnCancel_}) {
        // A click leaves the focus where it is: OK then runs the pending checks once.
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoDefault(true);
    }

    // Left: general above Wolf, below them Beck/CV and Pettis/A. Right: buttons, faculae, light bridges.
    lblNoCategory_ = new QLabel(NoCategoryNotice(), this);
    lblNoCategory_->setObjectName(QStringLiteral("LblKeineKategorie"));
    lblNoCategory_->setWordWrap(true);
    lblNoCategory_->setStyleSheet(QStringLiteral("color: #a00000; font-weight: bold;"));
    lblNoCategory_->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(gbAllg);
    left->addWidget(lblNoCategory_);
    left->addWidget(gbWolf);
    auto *below = new QHBoxLayout;
    auto *beckColumn = new QVBoxLayout;
    beckColumn->addWidget(gbBeck);
    beckColumn->addWidget(gbCV);
    beckColumn->addStretch(1);
    auto *pettisColumn = new QVBoxLayout;
    pettisColumn->addWidget(gbPettis);
    pettisColumn->addWidget(gbA);
    pettisColumn->addStretch(1);
    below->addLayout(beckColumn);
    below->addLayout(pettisColumn);
    left->addLayout(below);
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->addWidget(btnOK_);
    right->addWidget(btnNext_);
    right->addWidget(btnCancel_);
    right->addWidget(gbFackel);
    right->addWidget(gbLB);
    right->addStretch(1);

    auto *top = new QHBoxLayout(this);
    top->setContentsMargins(8, 8, 8, 8);
    top->addLayout(left);
    top->addLayout(right);
    top->setSizeConstraint(QLayout::SetFixedSize);

    // Focus order: the fields as listed, the buttons after the faculae, the light bridges last.
    QWidget *previous = nullptr;
    auto chain = [&previous, this](QWidget *w) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    };
    for (const char *name : kFieldOrder) {
        chain(Edit(name));
        if (std::strcmp(name, "Rs") == 0)
            chain(beckHlp_);
    }
    chain(cbFl_);
    chain(btnOK_);
    chain(btnNext_);
    chain(btnCancel_);
    for (const char *name : {"LN", "LS", "LGES"})
        chain(Edit(name));

    connect(btnOK_, &QPushButton::clicked, this, &TErfassungDlg::BtnOKClick);
    connect(btnNext_, &QPushButton::clicked, this, &TErfassungDlg::BtnNextClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(beckHlp_, &QToolButton::clicked, this, &TErfassungDlg::BeckHlpClick);
}

void TErfassungDlg::showEvent(QShowEvent *event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TErfassungDlg::FormShow() {
    watcher_->setEnabled(false);
    NextDay = false;
    const bool remark = Profile.Ein.on(CatBemerkung);
    Edit("Bemerkung")->setVisible(remark);
    lblBemerkung_->setVisible(remark);
    setWindowTitle(QStringLiteral("Erfassung: %1.%2.%3").arg(DayNo).arg(MonthNo).arg(YearNo));
    LayOutBoxes();
    if (!DayData.observed())
        ClearUnobservedDay(DayData);
    FillControls();
    UpdateTotalsState();
    pending_.fill(false);
    warnings_->clear();
    // The focus starts in the general box.
    pending_[Index(EntryBox::General)] = true;
    QLineEdit *first = remark ? Edit("Bemerkung") : Edit("Zeit");
    first->setFocus();
    zeitOnEnter_ = Edit("Zeit")->displayText();
    watcher_->setEnabled(true);
}

void TErfassungDlg::LayOutBoxes() {
    const TCategorySwitches &ein = Profile.Ein;
    boxes_[Index(EntryBox::Wolf)]->setVisible(ein.on(CatWolf));
    gbNord_->setVisible(ein.on(CatNS));
    gbSued_->setVisible(ein.on(CatNS));
    boxes_[Index(EntryBox::Beck)]->setVisible(ein.on(CatBeck));
    boxes_[Index(EntryBox::Pettis)]->setVisible(ein.on(CatPettis));
    boxes_[Index(EntryBox::CV)]->setVisible(ein.on(CatCV));
    boxes_[Index(EntryBox::A)]->setVisible(ein.on(CatA));
    QGroupBox *fackel = boxes_[Index(EntryBox::Fackel)];
    // The right-hand boxes keep their places: a hidden faculae box still
    // holds the light-bridge box down.
    QSizePolicy policy = fackel->sizePolicy();
    policy.setRetainSizeWhenHidden(ein.on(CatLB));
    fackel->setSizePolicy(policy);
    fackel->setVisible(ein.on(CatFackel));
    boxes_[Index(EntryBox::LB)]->setVisible(ein.on(CatLB));
    // With nothing to count the dialog would offer the time and the seeing
    // only: it says where the categories are switched on.
    bool anyCategory = false;
    for (CategoryIndex c : {CatWolf, CatBeck, CatPettis, CatCV, CatA, CatFackel, CatLB})
        anyCategory = anyCategory || ein.on(c);
    lblNoCategory_->setVisible(!anyCategory);
    if (layout())
        layout()->activate();
}

void TErfassungDlg::FillControls() {
    const TDayRecord &d = DayData;
    // Every field that has an edit of its name; Re and SN are shown as labels.
    for (const TDayField &field : kDayFields) {
        QLineEdit *edit = edits_.value(QLatin1StringView(field.Name));
        if (!edit)
            continue;
        if (field.Kind == TDayFieldKind::Number)
            edit->setText(NumberText(DayNumber(d, field)));
        else if (field.Kind == TDayFieldKind::Text)
            edit->setText(DayText(d, field));
    }
    Edit("Zeit")->setText(TimeDisplayText(d.Zeit.text()));
    lblRe_->setText(NumberText(d.Re));
    lblSN_->setText(NumberText(d.SN));
    cbFl_->setChecked(d.Fl != 0);
}

EntryTexts TErfassungDlg::Texts() const {
    EntryTexts texts;
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it)
        texts.insert(it.key(), it.value()->text());
    texts.insert(QStringLiteral("Zeit"), StoredTimeText(Edit("Zeit")->displayText()));
    return texts;
}

BoxCheck TErfassungDlg::RunCheck(EntryBox box) {
    const EntryTexts texts = Texts();
    BoxCheck check;
    switch (box) {
    case EntryBox::General:
        check = CheckGeneralBox(texts, DayData);
        break;
    case EntryBox::Wolf:
        check = CheckWolfBox(texts, Profile.Ein.on(CatNS), DayData);
        if (check.derivedChanged) {
            Edit("g")->setText(NumberText(DayData.g));
            Edit("f")->setText(NumberText(DayData.f));
            lblRe_->setText(NumberText(DayData.Re));
        }
        break;
    case EntryBox::Beck:
        check = CheckBeckBox(texts, DayData);
        break;
    case EntryBox::Pettis:
        check = CheckPettisBox(texts, DayData);
        if (check.derivedChanged)
            lblSN_->setText(NumberText(DayData.SN));
        break;
    case EntryBox::CV:
        check = CheckCvBox(texts, DayData);
        break;
    case EntryBox::A:
        check = CheckABox(texts, DayData);
        break;
    case EntryBox::Fackel:
        check = CheckFackelBox(texts, cbFl_->isChecked(), DayData);
        break;
    case EntryBox::LB:
        check = CheckLbBox(texts, DayData);
        break;
    }
    if (check.complete)
        pending_[Index(box)] = false;
    return check;
}

QString TErfassungDlg::FieldsState(const QWidget *group) const {
    QList<const QLineEdit *> edits;
    if (const auto *single = qobject_cast<const QLineEdit *>(group))
        edits << single;
    for (const QLineEdit *edit : group->findChildren<QLineEdit *>())
        edits << edit;
    QStringList state;
    for (const QLineEdit *edit : std::as_const(edits))
        state << edit->objectName() + QLatin1Char('=') + edit->displayText();
    state.sort();
    if (cbFl_ && group->isAncestorOf(cbFl_))
        state << (cbFl_->isChecked() ? QStringLiteral("Fl=X") : QStringLiteral("Fl="));
    return state.join(QLatin1Char('\n'));
}

void TErfassungDlg::ShowMessagesOnce(const QString &key, const QWidget *fields, const BoxCheck &check) {
    if (check.messages.isEmpty())
        warnings_->forget(key);
    else if (warnings_->firstFor(key, FieldsState(fields)))
        ShowMessages(check);
}

void TErfassungDlg::BoxExit(EntryBox box, QWidget *left) {
    // An earlier check of this focus move already put the focus back inside.
    if (Inside(left, focusWidget()))
        return;
    const BoxCheck check = RunCheck(box);
    // Once per visit: leaving the box again unchanged lets the focus go.
    ShowMessagesOnce(QStringLiteral("box%1").arg(Index(box)), boxes_[Index(box)], check);
    // The focus moves of an informing message do not make the box pending again.
    if (check.complete)
        pending_[Index(box)] = false;
}

void TErfassungDlg::ZeitExit() {
    QLineEdit *zeit = Edit("Zeit");
    if (focusWidget() == zeit)
        return;
    const TimeStatus status = CheckTimeText(StoredTimeText(zeit->displayText()));
    if (status == TimeStatus::Incomplete || status == TimeStatus::OutOfRange) {
        BoxCheck refused;
        refused.complete = false;
        refused.messages.append({TimeMessage(status), QStringLiteral("Zeit"), CheckMessage::Error});
        ShowMessagesOnce(QStringLiteral("Zeit"), zeit, refused);
        return;
    }
    BoxExit(EntryBox::General, zeit);
}

void TErfassungDlg::n_s_Exit(QLineEdit *field) {
    if (focusWidget() == field)
        return;
    UpdateTotalsState();
    BoxCheck check;
    if (const QString message = SpotFieldMessage(Texts(), field->objectName()); !message.isEmpty())
        check.messages.append({message, field->objectName(), CheckMessage::Information});
    ShowMessagesOnce(field->objectName(), boxes_[Index(EntryBox::Wolf)], check);
}

void TErfassungDlg::UpdateTotalsState() {
    const bool derived = TotalsFromNorthSouth(Texts(), Profile.Ein.on(CatNS));
    for (const char *name : {"g", "f"}) {
        QLineEdit *edit = Edit(name);
        edit->setReadOnly(derived);
        // Read-only totals are skipped by the focus order.
        edit->setFocusPolicy(derived ? Qt::NoFocus : Qt::StrongFocus);
    }
}

void TErfassungDlg::FocusField(const QString &name) {
    if (QLineEdit *edit = edits_.value(name)) {
        edit->setFocus();
        edit->selectAll();
    }
}

void TErfassungDlg::ShowMessages(const BoxCheck &check) {
    for (const CheckMessage &m : check.messages) {
        if (m.kind == CheckMessage::Error) {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("TARVO32"), m.text, QMessageBox::Ok, this);
            ExecMessageBox(box);
        } else {
            ShowInformation(this, m.text);
        }
        // Back from the message box: the dialog must be the active window again for the focus move.
        activateWindow();
        FocusField(m.focus);
    }
}

void TErfassungDlg::BtnOKClick() {
    for (EntryBox box : {EntryBox::General, EntryBox::Wolf, EntryBox::Beck, EntryBox::Pettis, EntryBox::CV,
                         EntryBox::A, EntryBox::Fackel, EntryBox::LB}) {
        if (!pending_[Index(box)])
            continue;
        const BoxCheck check = RunCheck(box);
        // A refusal is always said; a mere warning only when not seen already.
        if (check.complete)
            ShowMessagesOnce(QStringLiteral("box%1").arg(Index(box)), boxes_[Index(box)], check);
        else
            ShowMessages(check);
        // A refused entry is not dropped: the dialog stays open on that field.
        if (!check.complete) {
            NextDay = false;
            return;
        }
    }
    if (!AcceptDayWithoutTime()) {
        NextDay = false;
        return;
    }
    FinishEntry(DayData);
    accept();
}

bool TErfassungDlg::AcceptDayWithoutTime() {
    QLineEdit *zeit = Edit("Zeit");
    if (CheckTimeText(StoredTimeText(zeit->displayText())) != TimeStatus::Empty ||
        !HasObservationValues(DayData))
        return true;
    const QList<Answer> answers = {{"BtnZeitEingeben", QStringLiteral("&Zeit eingeben")},
                                   {"BtnNichtBeobachtet", QStringLiteral("Als &nicht beobachtet speichern")}};
    if (AskQuestion(this, DayWithoutTimeQuestion(), answers, 0) == 1)
        return true;
    activateWindow();
    zeit->setFocus();
    zeit->deselect();
    zeit->setCursorPosition(0);
    return false;
}

void TErfassungDlg::BtnNextClick() {
    NextDay = true;
    BtnOKClick();
}

void TErfassungDlg::BeckHlpClick() {
    TBeckDLG *beck = slots_->get<TBeckDLG>(SlotBeck, this);
    beck->WolfSpots = static_cast<std::uint16_t>(DayData.f);
    const int result = beck->exec();
    activateWindow();
    if (result != QDialog::Accepted)
        return;
    QLineEdit *rs = Edit("Rs");
    rs->setText(QString::number(beck->BeckResult));
    pending_[Index(EntryBox::Beck)] = true;
    rs->setFocus();
}

bool TErfassungDlg::eventFilter(QObject *watched, QEvent *event) {
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (event->type() == QEvent::FocusIn && edit && edit == Edit("Zeit")) {
        // Only a move of the user's counts as entering the field: the focus
        // put back after a refused time, or coming back with the window,
        // must not make the refused text the one Esc restores.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason ||
            reason == Qt::ShortcutFocusReason)
            zeitOnEnter_ = edit->displayText();
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == beckHlp_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        beckHlp_->click();
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        // Enter moves on like Tab.
        focusNextChild();
        return true;
    }
    if (!edit)
        return QDialog::eventFilter(watched, event);
    const QString name = edit->objectName();
    if (name == QLatin1StringView("Zeit") && key->key() == Qt::Key_Escape &&
        edit->displayText() != zeitOnEnter_) {
        // Esc first takes back the change of the time, a second Esc cancels.
        // The cursor goes to the start, so that the next digits land.
        edit->setText(zeitOnEnter_);
        edit->setCursorPosition(0);
        return true;
    }
    const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (name == QLatin1StringView("Zeit") && !command && key->text() == QLatin1String(" ")) {
        // A blank in the hour's first place is the leading blank of a
        // one-digit hour (" 905" is 9:05); the mask alone would drop it and
        // move the digits one place to the left.
        if (edit->hasSelectedText())
            edit->del();
        if (edit->cursorPosition() == 0) {
            edit->setSelection(0, 1);
            edit->del();
            edit->setCursorPosition(1);
        }
        return true;
    }
    const bool seeing = name == QLatin1StringView("Ruhe") || name == QLatin1StringView("Schaerfe") ||
                        name == QLatin1StringView("Qualitaet");
    const QString text = key->text();
    if (seeing && !command && text.size() == 1 && text[0].isPrint()) {
        QChar c = text[0].toUpper();
        if (name == QLatin1StringView("Qualitaet")) {
            const int letter = QStringLiteral("EGFPW").indexOf(c);
            if (letter >= 0)
                c = QChar(u'1' + letter);
        }
        if (c >= u'1' && c <= u'5' && c != text[0]) {
            edit->insert(QString(c));
            return true;
        }
        if (c < u'1' || c > u'5')
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
