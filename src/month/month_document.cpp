#include "month_document.h"

#include "month_edit.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <QDir>
#include <cstring>

namespace {

void CheckMonth(int month) {
    if (month < 1 || month > 12)
        throw TarvoError(QStringLiteral("Ungültiger Monat %1").arg(month));
}

} // namespace

TMonthDocument::TMonthDocument()
    : data_(std::make_unique<TYearBuffer>()), onDisk_(std::make_unique<TYearBuffer>()) {
    std::memset(static_cast<void *>(data_.get()), 0, sizeof(TYearBuffer));
    std::memset(static_cast<void *>(onDisk_.get()), 0, sizeof(TYearBuffer));
}

TMonthDocument::~TMonthDocument() = default;

TMonthDocument::TMonthDocument(const TMonthDocument &other)
    : data_(std::make_unique<TYearBuffer>(*other.data_)), onDisk_(std::make_unique<TYearBuffer>(*other.onDisk_)),
      year_(other.year_), month_(other.month_), totals_(other.totals_), modified_(other.modified_),
      readable_(other.readable_), unreadable_(other.unreadable_), template_(other.template_) {}

TMonthDocument &TMonthDocument::operator=(const TMonthDocument &other) {
    if (this != &other) {
        *data_ = *other.data_;
        *onDisk_ = *other.onDisk_;
        year_ = other.year_;
        month_ = other.month_;
        totals_ = other.totals_;
        modified_ = other.modified_;
        readable_ = other.readable_;
        unreadable_ = other.unreadable_;
        template_ = other.template_;
    }
    return *this;
}

void TMonthDocument::open(int year, int month) {
    CheckMonth(month);
    year_ = year;
    month_ = month;
    modified_ = false;
    template_.reset();
    try {
        ReadYear(year, *data_);
        readable_ = true;
        unreadable_.clear();
    } catch (const TarvoError &e) {
        // ReadYear leaves the buffer empty: the year is shown empty, but the
        // file is the user's data and is never saved over.
        readable_ = false;
        unreadable_ = QStringLiteral("Die Jahresdatei %1 kann nicht gelesen werden (%2).\n"
                                     "Das Jahr wird leer angezeigt; Änderungen an diesem Jahr sind "
                                     "nicht möglich, damit die Datei nicht überschrieben wird.")
                          .arg(QDir::toNativeSeparators(YearFileName(year)), e.message());
    }
    *onDisk_ = *data_;
    recount();
}

void TMonthDocument::assign(int year, int month, const TYearBuffer &data) {
    CheckMonth(month);
    year_ = year;
    month_ = month;
    *data_ = data;
    *onDisk_ = data;
    modified_ = false;
    readable_ = true;
    unreadable_.clear();
    template_.reset();
    recount();
}

void TMonthDocument::SaveIfModified() {
    if (!modified_)
        return;
    requireReadable();
    SaveYearChanges(year_, *onDisk_, *data_);
    modified_ = false;
    // tarvo-cli may have changed other days (or sent a list) meanwhile: the
    // year holds them now.
    recount();
}

void TMonthDocument::switchTo(int year, int month) {
    CheckMonth(month);
    if (year == year_ && month == month_)
        return;
    std::optional<TarvoError> failure;
    try {
        SaveIfModified();
    } catch (const TarvoError &e) {
        // Reading another year would replace the buffer: never with unsaved changes in it.
        if (year != year_)
            throw;
        failure = e;
    }
    if (year != year_) {
        open(year, month);
    } else {
        month_ = month;
        template_.reset();
        recount();
    }
    if (failure)
        throw *failure;
}

void TMonthDocument::requireReadable() const {
    if (!readable_)
        throw TarvoError(unreadable_);
}

void TMonthDocument::changed() {
    modified_ = true;
    recount();
}

void TMonthDocument::recount() {
    totals_ = SumMonth(data_->Months[static_cast<std::size_t>(month_)], month_, year_);
}

void TMonthDocument::storeDay(int day, const TDayRecord &record) {
    requireReadable();
    template_.reset();
    ClearDispatchStatus(*data_, month_);
    data_->Day(month_, day) = record;
    changed();
}

void TMonthDocument::ClearDay(int day) {
    requireReadable();
    ::ClearDay(*data_, month_, day);
    changed();
}

void TMonthDocument::startNextDay(int day) {
    requireReadable();
    template_ = PendingTemplate{day, ApplyNextDayTemplate(*data_, month_, day)};
    recount();
}

void TMonthDocument::cancelNextDay() {
    if (!template_)
        return;
    data_->Day(month_, template_->day) = template_->before;
    template_.reset();
    changed();
}

void TMonthDocument::shiftTo(int target) {
    requireReadable();
    ShiftMonth(*data_, month_, target);
    changed();
}

void TMonthDocument::adoptDispatchStatus(const TYearBuffer &year) {
    requireReadable();
    *data_ = year;
    changed();
}
