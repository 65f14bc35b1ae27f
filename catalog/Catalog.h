#pragma once
// The compiled-in catalogue of every TV episode (two audios) and movie, and the globals that say
// which part of it the main window shows.
//
// Tables are built once on the GUI thread during start-up, extended by the newly aired episodes
// file, and only read afterwards (workers included), so reading needs no lock.

#include "text/SharedText.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace catalog {

enum class TableId {
    MandarinTitles,
    MandarinSohuIds,
    MandarinLetvIds,
    MandarinIqiyiIds,
    MandarinThumbUrls,
    MandarinPptvIds,
    JapaneseTitles,
    JapaneseSohuIds,
    MovieTitles,
    MovieVideoIds,
    MovieYoukuIds,
};
inline constexpr int kTableCount = 11;

// The table's name as the program calls it ("mandarinTitles", ...), also its data file's stem.
std::string_view tableName(TableId id);
// The compiled-in NumberedList text of a table: GBK bytes, CR LF between rows.
std::string_view compiledList(TableId id);

// One table: the values of its rows, addressed 1-based. An index outside the table reads as the
// empty text rather than stopping the program.
class Table {
public:
    Table() = default;
    explicit Table(std::vector<std::string> values) : values_(std::move(values)) {}
    int rowCount() const { return static_cast<int>(values_.size()); }
    const std::string &value(int row) const;
    // Appends a NumberedList row ("n-value"); its value is the text after the last "-".
    void appendRow(std::string_view row);

private:
    std::vector<std::string> values_;
};

struct Catalog {
    std::array<Table, kTableCount> tables;
    const Table &operator[](TableId id) const { return tables[static_cast<size_t>(id)]; }
    Table &operator[](TableId id) { return tables[static_cast<size_t>(id)]; }
};

// The program's catalogue. Empty until buildTables() runs at start-up.
const Catalog &tables();
// Builds the eleven tables from the compiled-in texts, replacing what was there.
void buildTables();
// Appends the newly aired Japanese-audio episodes of a file's text ("n|title|sohuId[|...]" lines,
// CR LF separated) to japaneseTitles and japaneseSohuIds. Lines with fewer than three fields are
// skipped. Answers the number of episodes merged.
int mergeNewlyAired(std::string_view fileText);

// "岚影迷_最新集数.txt", the file in the documents folder that lists the newly aired episodes.
inline constexpr std::string_view kNewlyAiredFileName = "岚影迷_最新集数.txt";

// What the main window shows: currentSeries is "TV版" or "剧场版", currentAudio "日语" or "国语".
inline constexpr std::string_view kSeriesTv = "TV版";
inline constexpr std::string_view kSeriesMovies = "剧场版";
inline constexpr std::string_view kAudioJapanese = "日语";
inline constexpr std::string_view kAudioMandarin = "国语";
extern text::SharedText currentSeries;
extern text::SharedText currentAudio;

} // namespace catalog
