#include "messages.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

int ExecMessageBox(QMessageBox &box) {
    // Room for the title in the title bar's bold font, beside the window's
    // icon and its buttons.
    QFont font = box.font();
    font.setBold(true);
    const int needed = QFontMetrics(font).horizontalAdvance(box.windowTitle()) + 140;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(),
                      0, 1, grid->columnCount());
    return box.exec();
}

void ShowInformation(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Informationen"), text, QMessageBox::Ok, parent);
    ExecMessageBox(box);
}

void ShowError(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), text, QMessageBox::Ok, parent);
    ExecMessageBox(box);
}

int AskQuestion(QWidget *parent, const QString &text, const QList<Answer> &answers, int safe,
                int defaultAnswer, const QString &title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> buttons;
    for (const Answer &answer : answers) {
        QPushButton *button = box.addButton(answer.text, QMessageBox::ActionRole);
        button->setObjectName(QLatin1String(answer.name));
        buttons << button;
    }
    box.setDefaultButton(static_cast<QPushButton *>(buttons.value(defaultAnswer >= 0 ? defaultAnswer : safe)));
    box.setEscapeButton(buttons.value(safe));
    ExecMessageBox(box);
    const int pressed = static_cast<int>(buttons.indexOf(box.clickedButton()));
    return pressed >= 0 ? pressed : safe;
}

bool AskYesNo(QWidget *parent, const QString &text) {
    return AskQuestion(parent, text, {{"BtnJa", QStringLiteral("&Ja")}, {"BtnNein", QStringLiteral("&Nein")}}, 1, 0,
                       QStringLiteral("TARVO32")) == 0;
}

DialogButtonRow MakeDialogButtonRow() {
    DialogButtonRow row;
    row.ok = new QPushButton(QStringLiteral("OK"));
    row.ok->setObjectName(QStringLiteral("BtnOK"));
    row.ok->setDefault(true);
    row.cancel = new QPushButton(QStringLiteral("Abbrechen"));
    row.cancel->setObjectName(QStringLiteral("BtnCancel"));
    row.help = new QPushButton(QStringLiteral("&Hilfe"));
    row.help->setObjectName(QStringLiteral("BtnHelp"));
    row.layout = new QHBoxLayout;
    row.layout->addStretch(1);
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    row.layout->addWidget(row.help);
    return row;
}
