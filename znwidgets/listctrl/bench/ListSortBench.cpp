// Cost of CZnListCtrl with many rows: inserting rows of 5 columns in their
// joined form, sorting them by a text column and by a date column (as a
// heading click does, with the progress dialog), and grouping the sorted
// rows (into 8 groups, and with a separator between every two rows). Runs offscreen; prints one "name seconds" line per step.
//
// Usage: znwidgets_listsort_bench [rows]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "platform/testing/Timing.h"
#include "znwidgets/ZnListCtrl.h"

namespace {

constexpr UINT kDialogId = 9901;
constexpr platform::DialogTemplate kDialogs[] = {
    {kDialogId, "Sort bench", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 0, 400, 250, "MS Sans Serif", 8, {}}};
constexpr platform::ResourceModule kModule{"znwidgets_listsort_bench", kDialogs, {}, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

// Rows of a name, a date-time, a size, a word and a number, in random order.
std::vector<std::string> MakeRows(int count) {
  std::mt19937 random(20261206);
  const char* words[] = {"Alpha", "beta", "Gamma", "delta", "Epsilon", "zeta", "Eta", "theta"};
  std::vector<std::string> rows;
  rows.reserve(static_cast<std::size_t>(count));
  char date[32];
  for (int i = 0; i < count; ++i) {
    auto below = [&](unsigned limit) { return static_cast<unsigned>(random() % limit); };
    std::snprintf(date, sizeof date, "%04u-%02u-%02u %02u:%02u:%02u", 1990 + below(60), 1 + below(12),
                  1 + below(28), below(24), below(60), below(60));
    rows.push_back(std::string(words[random() % 8]) + " " + std::to_string(random() % 100000) + "|" +
                   date + "|" + std::to_string(random() % 1000000) + "|" + words[random() % 8] + "|" +
                   std::to_string(i));
  }
  return rows;
}

template <typename Work>
double Seconds(Work work) {
  return platform::testing::BestSeconds(1, work);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  platform::WindowSystem windows("znwidgets_listsort_bench");
  CDialog dialog;
  if (!dialog.Create(kDialogId)) return 1;
  CZnListCtrl list;
  if (!list.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(0, 0, 600, 360), &dialog, 100)) return 1;
  for (const char* heading : {"Name", "Date", "Size", "Word", "Number"}) list.InsertCol(heading, -1, 110);
  list.ChangeListViewMode(1, 1);
  list.m_bGroupingOn = 0;
  const std::vector<std::string> rows = MakeRows(count);

  const double insert = Seconds([&] {
    for (const std::string& row : rows) list.Insert(row.c_str(), -1, 0, '|', -1);
  });
  list.m_nSortColumn = 0;
  const double text = Seconds([&] { list.SortTextItems(0, 1, 0, -1, 1, 1); });
  list.m_nSortColumn = 1;
  const double date = Seconds([&] { list.SortTextItems(0, 1, 0, -1, 0, 1); });
  list.m_nSortColumn = 3;
  const double word = Seconds([&] { list.SortTextItems(0, 1, 0, -1, 1, 1); });
  const double group = Seconds([&] { list.GroupListItems(1, 3, 1); });
  const double ungroup = Seconds([&] { list.GroupListItems(0, 3, 1); });
  // A separator between every two rows: 100,000 insertions in the middle.
  const double groupAll = Seconds([&] { list.GroupListItems(1, 4, 1); });
  const int grouped = list.GetItemCount();
  list.GroupListItems(0, 4, 0);

  std::printf("rows %d\ncolumns 5\n", list.GetItemCount());
  std::printf("insert_seconds %.4f\ntext_sort_seconds %.4f\ndate_sort_seconds %.4f\n", insert, text, date);
  std::printf("few_keys_sort_seconds %.4f\ngroup_seconds %.4f\nungroup_seconds %.4f\n", word, group, ungroup);
  std::printf("group_every_row_seconds %.4f\ngrouped_rows %d\n", groupAll, grouped);
  return list.GetItemCount() == count ? 0 : 1;
}
