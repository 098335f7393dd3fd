#include "beck_dlg.h"

#include "beck_number.h"
#include "entry_number.h"
#include "storage/tarvo_error.h"
#include "uikit/focus_group.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/warning_memory.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
void ShowProgramMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text) {
    QMessageBox box(icon, QStringLiteral("TARVO32"), text, QMessageBox::Ok, parent);
    ExecMessageBox(box);
}
} // namespace

TBeckDLG::TBeckDLG(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TBeckDLG"));
    setWindowTitle(QStringLiteral("Hilfe Beck'sche Zahl"));

    auto *grid = new QGridLayout;
    auto *header = new QLabel(QStringLiteral("Flecken"), this);
    grid->addWidget(header, 0, 1);
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16;
    for (int i = 0; i < 9; ++i) {
        const QChar letter(u'A' + i);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("f_") + QChar(u'a' + i));
        edit->setFixedWidth(fieldWidth);
        edit->setAlignment(Qt::AlignRight);
        edit->installEventFilter(this);
        auto *label = new QLabel(QString(letter), this);
        label->setBuddy(edit);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(edit, i + 1, 1);
        fields_[i] = edit;
    }
    grid->addWidget(new QLabel(QStringLiteral("Summe"), this), 10, 0);
    lF_ = new QLabel(QStringLiteral("0"), this);
    lF_->setObjectName(QStringLiteral("lF"));
    lF_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lF_->setFixedWidth(fieldWidth);
    grid->addWidget(lF_, 10, 1);

    auto *result = new QVBoxLayout;
    result->addWidget(new QLabel(QStringLiteral("Beck'sche Relativzahl:"), this));
    lRs_ = new QLabel(QStringLiteral("0"), this);
    lRs_->setObjectName(QStringLiteral("lRs"));
    lRs_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = lRs_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    lRs_->setFont(bold);
    result->addWidget(lRs_);
    result->addStretch(1);

    btnOK_ = new QPushButton(QStringLiteral("OK"), this);
    btnOK_->setObjectName(QStringLiteral("BtnOK"));
    btnCancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnCancel_->setObjectName(QStringLiteral("BtnCancel"));
    for (QPushButton *b : {btnOK_, btnCancel_}) {
        // A click leaves the focus in the field; OK checks that field itself.
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoDefault(true);
        result->addWidget(b);
    }

    auto *top = new QHBoxLayout(this);
    top->addLayout(grid);
    top->addSpacing(16);
    top->addLayout(result);
    top->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 1; i < 9; ++i)
        setTabOrder(fields_[i - 1], fields_[i]);
    setTabOrder(fields_[8], btnOK_);
    setTabOrder(btnOK_, btnCancel_);

    watcher_ = new FocusGroupWatcher(this);
    warnings_ = std::make_unique<WarningMemory>();
    for (int i = 0; i < 9; ++i) {
        QLineEdit *edit = fields_[i];
        watcher_->addGroup(edit, [this, edit, i] {
            // Another check already put the focus back here.
            if (focusWidget() == edit)
                return;
            g_aExit(i, false);
        });
    }
    connect(btnOK_, &QPushButton::clicked, this, &TBeckDLG::BtnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    InstallHelpKey(this, HelpTopic::BeckCalculator);
}

TBeckDLG::~TBeckDLG() = default;

void TBeckDLG::showEvent(QShowEvent *event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TBeckDLG::FormShow() {
    watcher_->setEnabled(false);
    warnings_->clear();
    ClassCounts.fill(0);
    BeckResult = 0;
    for (QLineEdit *edit : fields_)
        edit->setText(QStringLiteral("0"));
    ShowTotals(0, 0);
    fields_[0]->setFocus();
    fields_[0]->selectAll();
    watcher_->setEnabled(true);
}

void TBeckDLG::ShowTotals(std::int64_t sum, std::int64_t beck) {
    lF_->setText(QString::number(sum));
    lRs_->setText(QString::number(beck));
}

bool TBeckDLG::g_aExit(int index, bool onOk) {
    QLineEdit *edit = fields_[index];
    const NumberInput in = ParseEntryNumber(edit->text(), kInt16Range);
    // The class names the field: "Klasse G: '' ist kein gültiger Integerwert".
    const QString field = QStringLiteral("Klasse %1: ").arg(QChar(u'A' + index));
    QString refusal;
    if (in.status == NumberInput::Empty || in.status == NumberInput::NotANumber)
        refusal = field + TarvoError::NotAnInteger(edit->text()).message();
    else if (in.status == NumberInput::OutOfRange)
        refusal = field + RangeMessage(kInt16Range);
    std::array<std::int16_t, 9> counts = ClassCounts;
    BeckTotals totals;
    if (refusal.isEmpty()) {
        counts[index] = static_cast<std::int16_t>(in.value);
        totals = ComputeBeck(counts);
        if (!totals.fits())
            refusal = BeckTooLargeMessage();
    }
    const QString key = edit->objectName();
    if (!refusal.isEmpty()) {
        // The count, sum and Beck number keep their previous values. Said
        // once on leaving (again on OK): the focus is not held in the field.
        if (onOk || warnings_->firstFor(key, edit->text())) {
            ShowProgramMessage(this, QMessageBox::Critical, refusal);
            activateWindow();
            edit->setFocus();
            edit->selectAll();
        }
        return false;
    }
    warnings_->forget(key);
    ClassCounts = counts;
    BeckResult = static_cast<std::uint16_t>(totals.beck);
    ShowTotals(totals.sum, totals.beck);
    // The comparison informs once for the counts it was made on.
    QStringList state;
    for (std::int16_t c : counts)
        state << QString::number(c);
    if (!SpotsExceedWolf(WolfSpots, totals.sum))
        warnings_->forget(QStringLiteral("Wolf"));
    else if (warnings_->firstFor(QStringLiteral("Wolf"), state.join(QLatin1Char(' '))))
        ShowProgramMessage(this, QMessageBox::NoIcon, SpotsExceedWolfMessage());
    activateWindow();
    return true;
}

void TBeckDLG::BtnOKClick() {
    // Take every count not checked yet (the focused field has not been left,
    // and focus changes of a window that is not active go unreported).
    for (int i = 0; i < 9; ++i) {
        if (fields_[i]->text() != QString::number(ClassCounts[i])) {
            if (!g_aExit(i, true))
                return;
        }
    }
    accept();
}

bool TBeckDLG::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        const QString text = key->text();
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        // Only digits can be typed; every other character, Backspace included, is dropped.
        if (!command && !text.isEmpty() && key->key() != Qt::Key_Delete && key->key() != Qt::Key_Escape &&
            key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            if (text.size() != 1 || text[0] < u'0' || text[0] > u'9')
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
