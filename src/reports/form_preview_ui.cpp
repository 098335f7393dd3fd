#include "form_preview_ui.h"

#include "reportengine/report_preview_dlg.h"
#include "sob01.h"
#include "sob09.h"
#include "storage/tarvo_error.h"
#include "uikit/messages.h"

#include <memory>

namespace {

// The form objects are made on first use and kept for later previews.
template <typename Form> Form &KeptForm() {
    static std::unique_ptr<Form> form;
    if (!form)
        form = std::make_unique<Form>();
    return *form;
}

template <typename Form>
void ShowPreview(QWidget *parent, const char *formName, const TYearBuffer &yearData, int month, int year,
                 const TObserverProfile &profile, const TMonthTotals &totals) {
    Form &form = KeptForm<Form>();
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

void ShowSob01Preview(QWidget *parent, const TYearBuffer &yearData, int month, int year,
                      const TObserverProfile &profile, const TMonthTotals &totals) {
    ShowPreview<TSOB01>(parent, "SOB01", yearData, month, year, profile, totals);
}

void ShowSob09Preview(QWidget *parent, const TYearBuffer &yearData, int month, int year,
                      const TObserverProfile &profile, const TMonthTotals &totals) {
    ShowPreview<TSOB09>(parent, "SOB09", yearData, month, year, profile, totals);
}
