#include "column_layout.h"

#include "file_io.h"
#include "folder_lock.h"
#include "storage_state.h"
#include "tarvo_error.h"

#include <QFileInfo>
#include <cstring>

namespace {

struct DefaultColumn {
    const char *title;
    std::uint8_t visible;
    std::int32_t column;
    std::int32_t width;
    std::uint8_t align;
};

constexpr DefaultColumn kDefaults[kHighestColumnIndex + 1] = {
    {"Tag", 1, 0, 25, 2},  {"Bemerkung", 1, 1, 100, 3}, {"UT", 1, 2, 35, 2},  {"R", 1, 3, 25, 0},
    {"S", 1, 4, 25, 0},    {"Q", 1, 5, 25, 0},          {"Gn", 1, 6, 35, 0},  {"Fn", 1, 7, 35, 0},
    {"Gs", 1, 8, 35, 0},   {"Fs", 1, 9, 35, 0},         {"G", 1, 10, 35, 0},  {"F", 1, 11, 35, 0},
    {"Re", 1, 12, 35, 0},  {"Rb", 1, 13, 40, 0},        {"p", 0, 0, 35, 0},   {"s", 0, 1, 35, 0},
    {"SN", 0, 2, 35, 0},   {"CV", 0, 3, 35, 0},         {"A", 1, 14, 35, 0},  {"A*", 0, 4, 35, 0},
    {"Fo", 0, 5, 35, 0},   {"Fm", 0, 6, 35, 0},         {"FEF", 0, 7, 35, 0}, {"FEP", 0, 8, 35, 0},
    {"pfn", 0, 9, 35, 0},  {"pfs", 0, 10, 35, 0},
};

} // namespace

void ResetColumnLayout() {
    TColumnLayout &layout = Storage().ColumnLayout;
    for (int i = 0; i <= kHighestColumnIndex; ++i) {
        TColumnSetting &c = layout[i];
        const DefaultColumn &d = kDefaults[i];
        c.Nr = i;
        std::memset(&c.Titel, 0, sizeof c.Titel);
        c.Titel.assignBytes(QByteArray(d.title));
        c.Sichtbar = d.visible;
        c.Spalte = d.column;
        c.Spaltenbreite = d.width;
        c.Ausr = d.align;
    }
}

void LoadColumnLayout() {
    const FileReadResult file = ReadWholeFile(ObserverFilePath(QStringLiteral("AEF.CFG")));
    if (!file.exists)
        throw TarvoError::Io(2);
    if (file.errorCode != 0)
        throw TarvoError::Io(file.errorCode);
    TColumnLayout &layout = Storage().ColumnLayout;
    const int whole = static_cast<int>(file.bytes.size() / sizeof(TColumnSetting));
    for (int i = 0; i < kColumnSettingCount && i < whole; ++i)
        std::memcpy(&layout[i], file.bytes.constData() + i * sizeof(TColumnSetting), sizeof(TColumnSetting));
    if (whole < kColumnSettingCount)
        throw TarvoError::EndOfFile();
}

QString LoadColumnLayoutOrDefaults() {
    if (!QFileInfo::exists(ObserverFilePath(QStringLiteral("AEF.CFG")))) {
        ResetColumnLayout();
        return QString();
    }
    try {
        LoadColumnLayout();
        return QString();
    } catch (const TarvoError &e) {
        ResetColumnLayout();
        return e.message();
    }
}

void SaveColumnLayout() {
    const FolderLock lock = LockObserverFolder();
    const TColumnLayout &layout = Storage().ColumnLayout;
    const QByteArray bytes(reinterpret_cast<const char *>(layout.data()), kColumnLayoutFileSize);
    WriteFileAtomically(ObserverFilePath(QStringLiteral("AEF.CFG")), bytes);
}
