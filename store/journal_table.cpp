#include "store/journal_table.h"

#include "store/entry_codec.h"
#include "store/timestamp.h"
#include "store/type_word.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillmere {

namespace {

std::vector<FieldDeclaration> journalFields() {
    return {FieldDeclaration::dateTime(kJournalDateField),
            FieldDeclaration::blob(kJournalEntryField)};
}

// Dates read from a file may be anything; NaN sorts first so the order stays
// a strict weak ordering.
bool keyLess(double a, double b) {
    if (std::isnan(a)) {
        return !std::isnan(b);
    }
    return !std::isnan(b) && a < b;
}

}  // namespace

JournalTable::JournalTable(const QString& name) : StoredTable(name, journalFields()) {}

void JournalTable::OpenJournal(const QString& path) {
    open(path);
}

double JournalTable::keyOf(uint32_t id) const {
    const Cell& c = data().cell(id, dateColumn_);
    return DSBASE::isBlank(c) ? -std::numeric_limits<double>::infinity() : data().storedDateTime(c);
}

void JournalTable::afterOpen() {
    dateColumn_ = requireField(kJournalDateField, {typeword::kDateTime});
    entryColumn_ = requireField(kJournalEntryField, {typeword::kBytes});
    index_.clear();
    index_.reserve(static_cast<size_t>(data().recordCount()));
    for (int i = 0; i < data().recordCount(); ++i) {
        const uint32_t id = data().recordId(i);
        index_.emplace_back(keyOf(id), id);
    }
    const auto byDate = [](const Key& a, const Key& b) { return keyLess(a.first, b.first); };
    // Journals written day after day are mostly in date order already.
    if (!std::is_sorted(index_.begin(), index_.end(), byDate)) {
        std::stable_sort(index_.begin(), index_.end(), byDate);
    }
    position_ = index_.empty() ? -1 : 0;
    setCurrent(index_.empty() ? std::nullopt : std::optional<uint32_t>(index_.front().second));
}

std::vector<JournalTable::Key>::const_iterator JournalTable::lowerBound(double key) const {
    return std::lower_bound(index_.begin(), index_.end(), key,
                            [](const Key& k, double v) { return keyLess(k.first, v); });
}

int JournalTable::indexOfRecord(uint32_t id) const {
    if (position_ >= 0 && position_ < static_cast<int>(index_.size()) &&
        index_[static_cast<size_t>(position_)].second == id) {
        return position_;
    }
    for (size_t i = 0; i < index_.size(); ++i) {
        if (index_[i].second == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void JournalTable::afterPost(uint32_t id, bool inserted) {
    if (!inserted) {
        const int old = indexOfRecord(id);
        if (old >= 0) {
            index_.erase(index_.begin() + old);
        }
    }
    const double key = keyOf(id);
    // After every record of the same date, so equal dates keep insertion order.
    const auto at = std::upper_bound(index_.begin(), index_.end(), key,
                                     [](double v, const Key& k) { return keyLess(v, k.first); });
    position_ = static_cast<int>(index_.insert(at, Key(key, id)) - index_.begin());
}

double JournalTable::dayAt(int index) const {
    const Cell& c = data().cell(index_[static_cast<size_t>(index)].second, dateColumn_);
    return DSBASE::isBlank(c) ? 0.0 : StoredToDateTime(data().storedDateTime(c));
}

std::vector<JournalTable::StrayRow> JournalTable::rowsWithStrayStatus() const {
    std::vector<StrayRow> rows;
    for (const DSBASE::StrayStatus& stray : data().strayStatuses()) {
        const Cell& c = data().cell(stray.id, dateColumn_);
        rows.push_back(
            {DSBASE::isBlank(c) ? 0.0 : StoredToDateTime(data().storedDateTime(c)), stray.status});
    }
    return rows;
}

QByteArray JournalTable::entryAt(int index) const {
    return data().bytesValue(data().cell(index_[static_cast<size_t>(index)].second, entryColumn_));
}

qint64 JournalTable::entrySizeAt(int index) const {
    return data().bytesSize(data().cell(index_[static_cast<size_t>(index)].second, entryColumn_));
}

StoredValue JournalTable::storedEntryAt(int index) const {
    return data().storedValue(data().cell(index_[static_cast<size_t>(index)].second, entryColumn_));
}

int JournalTable::find(double day) const {
    requireOpen();
    const double key = DateTimeToStored(day);
    const auto it = lowerBound(key);
    if (it == index_.end() || it->first != key) {
        return -1;
    }
    return static_cast<int>(it - index_.begin());
}

int JournalTable::firstIndexFrom(double day) const {
    requireOpen();
    return static_cast<int>(lowerBound(DateTimeToStored(day)) - index_.begin());
}

bool JournalTable::Locate(double day) {
    const int found = find(day);
    if (found < 0) {
        return false;
    }
    cancel();
    position_ = found;
    setCurrent(index_[static_cast<size_t>(found)].second);
    return true;
}

bool JournalTable::First() {
    requireOpen();
    cancel();
    if (index_.empty()) {
        return false;
    }
    position_ = 0;
    setCurrent(index_.front().second);
    return true;
}

bool JournalTable::Last() {
    requireOpen();
    cancel();
    if (index_.empty()) {
        return false;
    }
    position_ = static_cast<int>(index_.size()) - 1;
    setCurrent(index_.back().second);
    return true;
}

double JournalTable::JournalDate() const {
    requireOpen();
    const Cell* c = currentCell(dateColumn_);
    return c && !DSBASE::isBlank(*c) ? StoredToDateTime(data().storedDateTime(*c)) : 0.0;
}

QByteArray JournalTable::JournalEntry() const {
    requireOpen();
    const Cell* c = currentCell(entryColumn_);
    return c ? data().bytesValue(*c) : QByteArray();
}

void JournalTable::setJournalDate(double day) {
    requireEditing();
    data().setDateTime(buffer(), dateColumn_, day);
}

void JournalTable::setJournalEntry(const QByteArray& blob) {
    requireEditing();
    data().setBytes(buffer(), entryColumn_, blob);
}

void JournalTable::StoreDay(double day, const std::function<QByteArray()>& encodedContent) {
    const bool found = Locate(day);
    try {
        if (found) {
            edit();
        } else {
            insert();
            setJournalDate(day);
        }
        setJournalEntry(encodedContent());
        post();
    } catch (...) {
        cancel();
        throw;
    }
}

void JournalTable::StoreEntry(double day, const QByteArray& rtf) {
    StoreDay(day, [&rtf] { return EncodeEntryContent(rtf); });
}

double JournalTable::FindPreviousEntryDay(double currentDay, const SetCurrentDayFn& setCurrentDay) {
    if (!First()) {
        return currentDay;
    }
    if (keyLess(DateTimeToStored(currentDay), index_.front().first)) {
        return currentDay;
    }
    Last();
    if (keyLess(index_.back().first, DateTimeToStored(currentDay))) {
        return JournalDate();
    }
    double day = currentDay;
    while (!Locate(day)) {
        const double key = DateTimeToStored(day);
        const double next = day - 1;
        // The last stored date before this day; if it comes after the
        // previous day it carries a time of day and would never be matched.
        const auto it = lowerBound(key);
        if (it != index_.begin() && keyLess(DateTimeToStored(next), std::prev(it)->first)) {
            const double stopAt = dayAt(static_cast<int>(std::prev(it) - index_.begin()));
            setCurrentDay(stopAt);
            Locate(stopAt);
            return stopAt;
        }
        day = next;
        setCurrentDay(day);
    }
    return day;
}

double JournalTable::FindNextEntryDay(double currentDay, const SetCurrentDayFn& setCurrentDay) {
    if (!isOpen() || isEmpty()) {
        return currentDay;
    }
    First();
    if (keyLess(DateTimeToStored(currentDay), index_.front().first)) {
        return JournalDate();
    }
    Last();
    if (keyLess(index_.back().first, DateTimeToStored(currentDay))) {
        return currentDay;
    }
    double day = currentDay;
    while (!Locate(day)) {
        const double key = DateTimeToStored(day);
        const double next = day + 1;
        const double nextKey = DateTimeToStored(next);
        // The first stored date after this day; if it comes before the next
        // day it carries a time of day and would never be matched.
        auto it = std::upper_bound(index_.begin(), index_.end(), key,
                                   [](double v, const Key& k) { return keyLess(v, k.first); });
        if (it != index_.end() && keyLess(it->first, nextKey)) {
            const double stopAt = dayAt(static_cast<int>(it - index_.begin()));
            setCurrentDay(stopAt);
            Locate(stopAt);
            return stopAt;
        }
        day = next;
        setCurrentDay(day);
    }
    return day;
}

}  // namespace quillmere
