#include "sonpos_dlg.h"

#include "storage/profile.h"
#include "storage/tarvo_error.h"
#include "uikit/focus_group.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/warning_memory.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <cmath>

namespace {

QLabel *NumberLabel(QWidget *parent, const char *name) {
    auto *l = new QLabel(QStringLiteral("0"), parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(70);
    return l;
}

QLabel *Caption(const QString &text, QWidget *parent) {
    return new QLabel(text, parent);
}

QString Number(double value) {
    return Fixed4(value, QLocale());
}

// The masked fields hand their blanks to the picture readers as spaces.
QString MaskedText(const QLineEdit *edit) {
    QString text = edit->displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

} // namespace

TDlgSonPos::TDlgSonPos(QWidget *parent)
    : QDialog(parent), utcNow_([] { return QDateTime::currentDateTimeUtc(); }) {
    setObjectName(QStringLiteral("TDlgSonPos"));
    setWindowTitle(QStringLiteral("Sonnenflecken Position berechnen"));

    GB1 = new QGroupBox(QStringLiteral(" Beobachtungzeit "), this);
    GB1->setObjectName(QStringLiteral("GB1"));
    MEDatum = new QLineEdit(GB1);
    MEDatum->setObjectName(QStringLiteral("MEDatum"));
    MEDatum->setInputMask(QStringLiteral("09.09.9999;_"));
    MEZeit = new QLineEdit(GB1);
    MEZeit->setObjectName(QStringLiteral("MEZeit"));
    MEZeit->setInputMask(QStringLiteral("09:99;_"));
    const int digit = MEDatum->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    MEDatum->setMinimumWidth(12 * digit + 12);
    MEZeit->setMinimumWidth(7 * digit + 12);
    {
        auto *g = new QGridLayout(GB1);
        auto *ld = Caption(QStringLiteral("&Datum"), GB1);
        ld->setBuddy(MEDatum);
        auto *lz = Caption(QStringLiteral("Weltzeit (&UT)"), GB1);
        lz->setBuddy(MEZeit);
        g->addWidget(ld, 0, 0);
        g->addWidget(MEDatum, 0, 1);
        g->addWidget(lz, 1, 0);
        g->addWidget(MEZeit, 1, 1);
    }

    GB2 = new QGroupBox(QStringLiteral(" Werte der Sonne an diesem Tag "), this);
    GB2->setObjectName(QStringLiteral("GB2"));
    lL0 = NumberLabel(GB2, "lL0");
    lB0 = NumberLabel(GB2, "lB0");
    lP = NumberLabel(GB2, "lP");
    lRotation = NumberLabel(GB2, "lRotation");
    {
        auto *g = new QGridLayout(GB2);
        const struct {
            const char *caption;
            QLabel *value;
            bool degrees;
        } rows[] = {
            {"L0 =", lL0, true}, {"B0 =", lB0, true}, {"P =", lP, true}, {"Rotation =", lRotation, false}};
        int row = 0;
        for (const auto &r : rows) {
            g->addWidget(Caption(QString::fromUtf8(r.caption), GB2), row, 0);
            g->addWidget(r.value, row, 1);
            if (r.degrees)
                g->addWidget(Caption(QStringLiteral("°"), GB2), row, 2);
            ++row;
        }
    }

    GB3 = new QGroupBox(QStringLiteral(" Koordinaten "), this);
    GB3->setObjectName(QStringLiteral("GB3"));
    MEX = new QLineEdit(QStringLiteral("0"), GB3);
    MEX->setObjectName(QStringLiteral("MEX"));
    MEY = new QLineEdit(QStringLiteral("0"), GB3);
    MEY->setObjectName(QStringLiteral("MEY"));
    {
        auto *g = new QGridLayout(GB3);
        auto *lx = Caption(QStringLiteral("&X ="), GB3);
        lx->setBuddy(MEX);
        auto *ly = Caption(QStringLiteral("&Y ="), GB3);
        ly->setBuddy(MEY);
        g->addWidget(lx, 0, 0);
        g->addWidget(MEX, 0, 1);
        g->addWidget(Caption(QStringLiteral("mm"), GB3), 0, 2);
        g->addWidget(ly, 1, 0);
        g->addWidget(MEY, 1, 1);
        g->addWidget(Caption(QStringLiteral("mm"), GB3), 1, 2);
    }

    GB4 = new QGroupBox(QStringLiteral(" Position der Gruppe "), this);
    GB4->setObjectName(QStringLiteral("GB4"));
    lB = NumberLabel(GB4, "lB");
    lGradB = Caption(QStringLiteral("°"), GB4);
    lGradB->setObjectName(QStringLiteral("lGradB"));
    lL = NumberLabel(GB4, "lL");
    lRota = Caption(QStringLiteral("Alte Rotation"), GB4);
    lRota->setObjectName(QStringLiteral("lRota"));
    lRota->hide();
    lAZM = NumberLabel(GB4, "lAZM");
    lGradAZM = Caption(QStringLiteral("°"), GB4);
    lGradAZM->setObjectName(QStringLiteral("lGradAZM"));
    {
        auto *g = new QGridLayout(GB4);
        g->addWidget(Caption(QStringLiteral("B = "), GB4), 0, 0);
        g->addWidget(lB, 0, 1);
        g->addWidget(lGradB, 0, 2);
        g->addWidget(Caption(QStringLiteral("L = "), GB4), 1, 0);
        g->addWidget(lL, 1, 1);
        g->addWidget(Caption(QStringLiteral("°"), GB4), 1, 2);
        g->addWidget(lRota, 2, 0, 1, 3);
        g->addWidget(Caption(QStringLiteral("AZM ="), GB4), 3, 0);
        g->addWidget(lAZM, 3, 1);
        g->addWidget(lGradAZM, 3, 2);
        g->setColumnStretch(2, 1);
    }

    BtnRechnen = new QPushButton(this);
    BtnRechnen->setObjectName(QStringLiteral("BtnRechnen"));
    BtnRechnen->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    BtnRechnen->setToolTip(QStringLiteral("Rechnen"));
    BtnRechnen->setAccessibleName(QStringLiteral("Rechnen"));
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                              QStringLiteral("&Schließen"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(GB1, 0, 0);
    grid->addWidget(GB2, 0, 2);
    grid->addWidget(GB3, 1, 0);
    grid->addWidget(BtnRechnen, 1, 1, Qt::AlignCenter);
    grid->addWidget(GB4, 1, 2);
    grid->addWidget(BitBtn1, 2, 0, Qt::AlignLeft);
    resize(417, 283);

    setTabOrder(MEDatum, MEZeit);
    setTabOrder(MEZeit, MEX);
    setTabOrder(MEX, MEY);
    setTabOrder(MEY, BtnRechnen);
    setTabOrder(BtnRechnen, BitBtn1);

    for (QLineEdit *e : {MEDatum, MEZeit, MEX, MEY})
        e->installEventFilter(this);

    watcher_ = new FocusGroupWatcher(this);
    warnings_ = std::make_unique<WarningMemory>();
    // A result belongs to the inputs it was computed from: any change of
    // them takes it away until the next computation.
    for (QLineEdit *e : {MEDatum, MEZeit, MEX, MEY})
        connect(e, &QLineEdit::textChanged, this, [this, e] {
            unread_.insert(e);
            ClearPosition();
        });
    watcher_->addGroup(MEDatum, [this] { MEDatumExit(); });
    watcher_->addGroup(MEZeit, [this] { MEZeitExit(); });
    watcher_->addGroup(GB3, [this] { MEXYExit(); });
    watcher_->addGroup(BtnRechnen, [this] { Compute(false); });
    connect(BtnRechnen, &QPushButton::clicked, this, &TDlgSonPos::BtnRechnenClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TDlgSonPos::BitBtn1Click);
    InstallHelpKey(this, HelpTopic::Position);
}

TDlgSonPos::~TDlgSonPos() = default;

void TDlgSonPos::setProfile(const TObserverProfile &profile) {
    radius_ = profile.Radius;
}

void TDlgSonPos::showEvent(QShowEvent *event) {
    if (!placed_) {
        placed_ = true;
        if (const QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// Enter moves on to the next field instead of closing the dialog.
bool TDlgSonPos::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == MEDatum)
                MEZeit->setFocus(Qt::TabFocusReason);
            else if (watched == MEZeit)
                MEX->setFocus(Qt::TabFocusReason);
            else if (watched == MEX)
                MEY->setFocus(Qt::TabFocusReason);
            else if (watched == MEY)
                BtnRechnen->setFocus(Qt::TabFocusReason);
            else
                return QDialog::eventFilter(watched, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The present moment goes into the fields once per showing (not on every
// activation, which would overwrite typed texts after each message box). Date
// and time are both in UT, and the Sun's values are made to match them.
void TDlgSonPos::FormShow() {
    const QDateTime now = utcNow_().toUTC();
    watcher_->setEnabled(false);
    MEDatum->setText(now.toString(QStringLiteral("dd.MM.yyyy")));
    MEZeit->setText(now.toString(QStringLiteral("hh:mm")));
    MEDatum->setFocus(Qt::OtherFocusReason);
    watcher_->setEnabled(true);
    if (ReadDateField() && ReadTimeField())
        RecomputeSun();
}

QString TDlgSonPos::DateText() const {
    return MaskedText(MEDatum);
}
QString TDlgSonPos::TimeText() const {
    return MaskedText(MEZeit);
}

bool TDlgSonPos::ReadDateField() {
    const std::optional<TObservationDate> d = ReadObservationDate(DateText());
    if (!d)
        return false;
    day_ = d->day;
    month_ = d->month;
    year_ = d->year;
    unread_.remove(MEDatum);
    return true;
}

bool TDlgSonPos::ReadTimeField() {
    const std::optional<int> seconds = ReadObservationTime(TimeText());
    if (!seconds)
        return false;
    seconds_ = *seconds;
    unread_.remove(MEZeit);
    return true;
}

// A failed check sends the user back to the field. When the focus left it for
// a click on the compute button, that click is dropped: the user has seen the
// message and computing with the old values would only repeat or hide it.
void TDlgSonPos::Reject(QWidget *field, const QString &message, bool error) {
    // No computation with what was refused, whether said now or before (the
    // click waits behind the message box, so this comes after it).
    auto dropClick = [this] {
        suppressClick_ = true;
        QTimer::singleShot(0, this, [this] { suppressClick_ = false; });
    };
    // Once for what the fields hold: leaving again unchanged lets the focus go.
    const QString state =
        QStringList{DateText(), TimeText(), MEX->text(), MEY->text()}.join(QLatin1Char('|'));
    if (!warnings_->firstFor(field->objectName(), state)) {
        dropClick();
        return;
    }
    if (error)
        ShowError(this, message);
    else
        ShowInformation(this, message);
    dropClick();
    activateWindow();
    field->setFocus(Qt::OtherFocusReason);
}

void TDlgSonPos::MEDatumExit() {
    if (!ReadDateField()) {
        Reject(MEDatum, QString::fromUtf8(kMsgDateWrong));
        return;
    }
    warnings_->forget(MEDatum->objectName());
    RecomputeSun();
}

void TDlgSonPos::MEZeitExit() {
    if (!ReadTimeField()) {
        Reject(MEZeit, QString::fromUtf8(kMsgTimeWrong));
        return;
    }
    warnings_->forget(MEZeit->objectName());
    RecomputeSun();
}

void TDlgSonPos::RecomputeSun() {
    // Both fields must have been read once; until then there is no moment.
    if (year_ == 0)
        return;
    sun_ = ComputeSunValues(year_, month_, day_, seconds_);
    lL0->setText(Number(sun_.Degrees.L0));
    lB0->setText(Number(sun_.Degrees.B0));
    lP->setText(Number(sun_.Degrees.P));
    lRotation->setText(sun_.Rotation > 0 ? QString::number(sun_.Rotation) : QStringLiteral("–"));
}

void TDlgSonPos::MEXYExit() {
    for (QLineEdit *edit : {MEX, MEY}) {
        const std::optional<double> v = ReadMillimetres(edit->text());
        if (!v) {
            // The message names the field: "Y: '1,2,3' ist kein gültiger Gleitkommawert".
            Reject(edit,
                   (edit == MEX ? QStringLiteral("X: ") : QStringLiteral("Y: ")) +
                       TarvoError::NotAFloat(edit->text()).message(),
                   true);
            return;
        }
        warnings_->forget(edit->objectName());
        (edit == MEX ? x_ : y_) = *v;
    }
    unread_.remove(MEX);
    unread_.remove(MEY);
    rho_ = std::hypot(x_, y_);
    const TCircleCheck check = CheckCircle(rho_, radius_);
    if (check != TCircleCheck::Inside)
        Reject(MEX, CircleMessage(check));
    else
        warnings_->forget(MEX->objectName());
}

void TDlgSonPos::ClearPosition() {
    for (QLabel *value : {lB, lL, lAZM})
        value->clear();
    lGradB->setText(QStringLiteral("°"));
    lGradAZM->setText(QStringLiteral("°"));
    lRota->hide();
}

void TDlgSonPos::BtnRechnenClick() {
    if (!suppressClick_)
        Compute(true);
}

// Leaving the button computes as well, but then the focus stays where the
// user sent it.
void TDlgSonPos::Compute(bool moveFocus) {
    // A field changed but not read (it was refused): computing would show a
    // result for other values than the ones in the fields.
    if (!unread_.isEmpty())
        return;
    const TSpotResult r = ComputeSpotPosition(sun_.Radians, x_, y_, radius_);
    if (r.Check != TCircleCheck::Inside) {
        ShowInformation(this, CircleMessage(r.Check));
    } else {
        position_ = r.Position;
        lRota->setVisible(position_.Note != TRotationNote::None);
        if (position_.Note == TRotationNote::Next)
            lRota->setText(QStringLiteral("Nächste Sonnenrotation"));
        else if (position_.Note == TRotationNote::Old)
            lRota->setText(QStringLiteral("Alte Sonnenrotation"));
        lL->setText(Number(position_.L));
        lAZM->setText(Number(position_.AZM));
        lB->setText(Number(position_.B));
        lGradB->setText(QStringLiteral("° (%1)").arg(HemisphereWord(position_.B)));
        lGradAZM->setText(QStringLiteral("° (%1)").arg(SideWord(position_.AZM)));
    }
    if (moveFocus) {
        activateWindow();
        watcher_->setEnabled(false);
        MEX->setFocus(Qt::OtherFocusReason);
        watcher_->setEnabled(true);
    }
}

void TDlgSonPos::BitBtn1Click() {
    accept();
}
