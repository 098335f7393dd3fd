#include "form_preview_ui.h"

#include "reportengine/report_preview_dlg.h"
#include "sob01.h"
#include "sob09.h"
#include "storage/tarvo_error.h"
#include "uikit/dialog_slots.h"
#include "uikit/messages.h"

namespace {

template <typename Form>
void ShowPreview(Form &form, QWidget *parent, const char *formName, const TYearBuffer &yearData, int month,
                 int year, const TObserverProfile &profile, const TMonthTotals &totals) {
    try {
        form.setMonth(yearData, month, year, profile, totals);
    } catch (const TarvoError &e) {
        ShowError(parent, e.message());
        return;
    }
    const QString pdfName = QStringLiteral("%1_%2-%3.pdf")
                                .arg(QLatin1String(formName))
                                .arg(year, 4, 10, QLatin1Char('0'))
                                .arg(month, 2, 10, QLatin1Char('0'));
    TReportPreviewDlg preview(form.report(), pdfName, parent);
    preview.exec();
}

} // namespace

void ShowSob01Preview(DialogSlotTable &slotTable, QWidget *parent, const TYearBuffer &yearData, int month, int year,
                      const TObserverProfile &profile, const TMonthTotals &totals) {
    ShowPreview(slotTable.kept<TSOB01>(SlotSOB01), parent, "SOB01", yearData, month, year, profile, totals);
}

void ShowSob09Preview(DialogSlotTable &slotTable, QWidget *parent, const TYearBuffer &yearData, int month, int year,
                      const TObserverProfile &profile, const TMonthTotals &totals) {
    ShowPreview(slotTable.kept<TSOB09>(SlotSOB09), parent, "SOB09", yearData, month, year, profile, totals);
}
