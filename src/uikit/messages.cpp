#include "messages.h"

#include <QMessageBox>

void ShowInformation(QWidget *parent, const QString &text) {
    QMessageBox::information(parent, QStringLiteral("Informationen"), text, QMessageBox::Ok);
}

void ShowError(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Fehler"), text, QMessageBox::Ok);
}
