#include "beck_number.h"

BeckTotals ComputeBeck(const std::array<std::int16_t, 9> &counts) {
    BeckTotals t;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        t.sum += counts[i];
        t.beck += std::int64_t(counts[i]) * kBeckWeights[i];
    }
    return t;
}

bool SpotsExceedWolf(std::uint16_t wolfSpots, std::int64_t sum) {
    return wolfSpots != kSpotsNotGiven && wolfSpots < sum;
}

QString SpotsExceedWolfMessage() {
    return QStringLiteral("Das sind mehr Flecken,\nals bei der Wolf\u00B4schen Relativzahl");
}

QString BeckTooLargeMessage() {
    return QStringLiteral("Die Summe und die Beck'sche Relativzahl dürfen höchstens %1 sein").arg(kBeckMax);
}
