#include "messages.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>

void ShowInformation(QWidget *parent, const QString &text) {
    QMessageBox::information(parent, QStringLiteral("Informationen"), text, QMessageBox::Ok);
}

void ShowError(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Fehler"), text, QMessageBox::Ok);
}

bool AskYesNo(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("TARVO32"), text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    yes->setObjectName(QStringLiteral("BtnJa"));
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    no->setObjectName(QStringLiteral("BtnNein"));
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
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
