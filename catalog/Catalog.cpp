#include "catalog/Catalog.h"

#include "text/Text.h"

#include <QResource>
#include <QString>

namespace catalog {
namespace {

constexpr std::array<std::string_view, kTableCount> kNames = {
    "mandarinTitles", "mandarinSohuIds",  "mandarinLetvIds", "mandarinIqiyiIds", "mandarinThumbUrls",
    "mandarinPptvIds", "japaneseTitles",  "japaneseSohuIds", "movieTitles",      "movieVideoIds",
    "movieYoukuIds",
};

// The order in which start-up builds the tables.
constexpr std::array<TableId, kTableCount> kBuildOrder = {
    TableId::MandarinTitles,  TableId::JapaneseTitles, TableId::MovieTitles,     TableId::MandarinIqiyiIds,
    TableId::MandarinLetvIds, TableId::MandarinSohuIds, TableId::JapaneseSohuIds, TableId::MovieVideoIds,
    TableId::MovieYoukuIds,   TableId::MandarinThumbUrls, TableId::MandarinPptvIds,
};

Catalog g_catalog;

} // namespace

text::SharedText currentSeries;
text::SharedText currentAudio;

std::string_view tableName(TableId id) { return kNames[static_cast<size_t>(id)]; }

std::string_view compiledList(TableId id) {
    // The tables are compiled in uncompressed, so their bytes can be read in place.
    const QResource resource(QStringLiteral(":/catalog/") + QString::fromLatin1(tableName(id)) +
                             QStringLiteral(".txt"));
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return {};
    return {reinterpret_cast<const char *>(resource.data()), static_cast<size_t>(resource.size())};
}

const std::string &Table::value(int row) const {
    static const std::string kEmpty;
    if (row < 1 || row > rowCount())
        return kEmpty;
    return values_[static_cast<size_t>(row - 1)];
}

void Table::appendRow(std::string_view row) { values_.push_back(text::textAfterLast(row, "-")); }

const Catalog &tables() { return g_catalog; }

void buildTables() {
    for (TableId id : kBuildOrder)
        g_catalog[id] = Table(text::numberedListValues(compiledList(id)));
}

int mergeNewlyAired(std::string_view fileText) {
    int merged = 0;
    for (std::string_view line : text::splitLines(fileText)) {
        const auto fields = text::splitFields(line, '|');
        if (fields.size() < 3) // short or empty line: nothing to merge
            continue;
        const std::string number(fields[0]);
        g_catalog[TableId::JapaneseTitles].appendRow(number + "-" + std::string(fields[1]));
        g_catalog[TableId::JapaneseSohuIds].appendRow(number + "-" + std::string(fields[2]));
        ++merged;
    }
    return merged;
}

} // namespace catalog
