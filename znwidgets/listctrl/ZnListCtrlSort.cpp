// CZnListCtrl: sorting by a column (as text, as dates or as numbers) and
// grouping.
//
// The sort reads every row whole (all its cells) before it changes the
// control, sorts row numbers by keys made once per row, and writes the
// rows whose place changed back cell by cell. Equal keys keep their order
// (a stable sort), which gives the same order as sorting by adjacent swaps
// of neighbours that are out of order.
#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "NumberKey.h"
#include "ListSortMemory.h"
#include "platform/Crt.h"
#include "zncore/ZnTime.h"
#include "znwidgets/ZnListCtrl.h"
#include "znwidgets/ZnProgressDlg.h"

namespace znwidgets::listctrl {
namespace {
bool g_memoryFails = false;
}  // namespace

void SetSortMemoryFails(bool fail) { g_memoryFails = fail; }

}  // namespace znwidgets::listctrl

namespace {

constexpr int kProgressRows = 50;  // from this many rows on a progress dialog shows
constexpr int kKeyLength = 34;     // bytes of a cell that make its key
constexpr int kDateProbe = 10;     // bytes of row 0's cell that decide date mode
constexpr const char* kProgressTitle = "Verarbeitung läuft...";
constexpr const char* kNoMemory =
    "Speicher für die Sortierfunktion kann NICHT allokiert werden. "
    "Die Sortierung kann nicht durchgeführt werden.";

using znwidgets::listctrl::NumberKey;

// How SortRows compares the keys.
enum class SortMode { Dates, Text, Numbers };

// One row as the sort carries it: every cell, and its key in the mode's
// form.
struct SortRow {
  std::vector<CString> cells;
  CString key;
  CZnTime date;
  std::optional<NumberKey> number;
};

// A progress dialog for long runs, or none. Position updates are passed on
// only when the shown percent changes, so that a run of 100,000 rows does
// not handle the event queue 100,000 times.
class Progress {
public:
  Progress(CWnd* list, int rows, int show, const char* status) : m_nRows(rows) {
    if (rows < kProgressRows || !show) return;
    auto dialog = std::make_unique<CZnProgressDlg>();
    if (!dialog->Create(list)) return;
    dialog->SetTitle(kProgressTitle);
    dialog->SetStatus(status);
    dialog->SetRange(0, static_cast<unsigned int>(rows));
    m_dialog = std::move(dialog);
  }
  ~Progress() { Close(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void SetPos(int position) {
    if (!m_dialog) return;
    const long long percent = static_cast<long long>(position) * 100 / m_nRows;
    if (percent == m_nShown) return;
    m_nShown = percent;
    m_dialog->SetPos(static_cast<unsigned int>(position));
  }
  void Close() {
    if (!m_dialog) return;
    m_dialog->DestroyWindow();
    m_dialog.reset();
  }

private:
  std::unique_ptr<CZnProgressDlg> m_dialog;
  int m_nRows;
  long long m_nShown = -1;
};

// The first `length` bytes of a cell, as a fixed key buffer holds them.
CString KeyOf(const CString& cell) {
  return cell.GetLength() <= kKeyLength ? cell : CString(cell.GetString(), kKeyLength);
}

}  // namespace

int CZnListCtrl::SortTextItems(int, int ascending, int, int, int textMode, int showProgress) {
  return SortRows(ascending, static_cast<int>(textMode ? SortMode::Text : SortMode::Dates),
                  showProgress);
}

int CZnListCtrl::SortNumberItems(int ascending, int showProgress) {
  return SortRows(ascending, static_cast<int>(SortMode::Numbers), showProgress);
}

int CZnListCtrl::SortRows(int ascending, int how, int showProgress) {
  const auto mode = static_cast<SortMode>(how);
  const int count = GetItemCount();
  // A list without columns still has its rows' own texts (subitem 0):
  // those are what it shows and what moves.
  const int columns = std::max(GetColumnCount(), 1);
  Progress progress(this, count, showProgress, "Daten werden sortiert...");

  // Everything is read before anything changes: a failure leaves the
  // control as it was.
  std::vector<SortRow> rows;
  std::vector<int> removed;
  try {
    if (znwidgets::listctrl::g_memoryFails) throw std::bad_alloc();
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
      // A row with an empty first cell is a separator (or empty): it goes.
      if (GetItemText(row, 0).IsEmpty()) {
        removed.push_back(row);
        continue;
      }
      SortRow& record = rows.emplace_back();
      record.cells.reserve(static_cast<std::size_t>(columns));
      for (int column = 0; column < columns; ++column) record.cells.push_back(GetItemText(row, column));
      if (mode == SortMode::Numbers) {
        // A number is read whole: cutting it would change its value.
        record.number.emplace(GetItemText(row, m_nSortColumn).GetString());
      } else {
        record.key = KeyOf(GetItemText(row, m_nSortColumn));
        if (mode == SortMode::Dates) record.date = CZnTime(record.key.GetString());
      }
    }
  } catch (const std::bad_alloc&) {
    progress.Close();
    MessageBox(kNoMemory, "FEHLER", MB_ICONEXCLAMATION | MB_OK);
    return 0;
  }

  for (auto it = removed.rbegin(); it != removed.rend(); ++it) DeleteItem(*it);

  std::vector<int> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  auto before = [&](int a, int b) {
    const SortRow& first = rows[static_cast<std::size_t>(a)];
    const SortRow& second = rows[static_cast<std::size_t>(b)];
    switch (mode) {
      case SortMode::Text: {
        const int compared = _stricmp(first.key, second.key);
        return ascending ? compared < 0 : compared > 0;
      }
      case SortMode::Numbers: {
        const int compared = NumberKey::Compare(*first.number, *second.number);
        return ascending ? compared < 0 : compared > 0;
      }
      case SortMode::Dates:
        break;
    }
    return ascending ? first.date < second.date : second.date < first.date;
  };
  std::stable_sort(order.begin(), order.end(), before);

  for (int position = 0; position < static_cast<int>(order.size()); ++position) {
    progress.SetPos(position);
    const int from = order[static_cast<std::size_t>(position)];
    if (from == position) continue;
    const std::vector<CString>& cells = rows[static_cast<std::size_t>(from)].cells;
    for (int column = 0; column < columns; ++column) {
      SetItemText(position, column, cells[static_cast<std::size_t>(column)]);
    }
  }
  rows.clear();
  rows.shrink_to_fit();
  progress.Close();

  if (m_bGroupingOn) GroupListItems(m_bGroupingOn, m_nSortColumn, 1);
  return 1;
}

void CZnListCtrl::GroupListItems(int group, int column, int showProgress) {
  Progress progress(this, GetItemCount(), showProgress, "Daten werden gruppiert...");
  if (column < 0) column = m_nSortColumn;
  if (GetItemCount() <= 1) return;
  char here[kKeyLength + 1];
  char above[kKeyLength + 1];
  for (int position = 1; position < GetItemCount(); ++position) {
    GetItemText(position, column, here, sizeof here);
    if (group == 0 && here[0] == '\0') {
      // The row that moves up into this place is not looked at.
      DeleteItem(position);
      continue;
    }
    GetItemText(position - 1, column, above, sizeof above);
    if (here[0] != '\0' && above[0] != '\0' && _stricmp(here, above) != 0) {
      InsertItem(position, "", -1);  // a separator row shows no image
      ++position;
      progress.SetPos(position);
    }
  }
}

void CZnListCtrl::SetNumberColumn(int column, int numbers) {
  if (column < 0) return;
  if (static_cast<std::size_t>(column) >= m_numberColumns.size()) {
    if (!numbers) return;
    m_numberColumns.resize(static_cast<std::size_t>(column) + 1, false);
  }
  m_numberColumns[static_cast<std::size_t>(column)] = numbers != 0;
}

int CZnListCtrl::IsNumberColumn(int column) const {
  return column >= 0 && static_cast<std::size_t>(column) < m_numberColumns.size() &&
                 m_numberColumns[static_cast<std::size_t>(column)]
             ? 1
             : 0;
}

int CZnListCtrl::SortByColumn(int column, int ascending, int showProgress) {
  m_nSortColumn = column;
  if (IsNumberColumn(column)) return SortNumberItems(ascending, showProgress);
  char probe[kDateProbe + 1];
  GetItemText(0, m_nSortColumn, probe, sizeof probe);
  const int textMode = CZnTime::IsValidTimeStr(probe) ? 0 : 1;
  return SortTextItems(m_nSortColumn, ascending, 0, -1, textMode, showProgress);
}

void CZnListCtrl::OnColumnclick(NMHDR* header, LRESULT* result) {
  BeginWaitCursor();
  SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem, 1, 1);
  EndWaitCursor();
  if (result) *result = 0;
}
