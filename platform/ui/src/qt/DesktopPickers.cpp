// The file and folder pickers as Qt's own (non-native) file dialog.
//
// Patterns are matched by the platform's wildcard rules (case-free, "*.*"
// matches every name) through a filter model, not by the dialog's own
// matching, which is case-sensitive here.
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <string>
#include <vector>

#include "DesktopHandlers.h"
#include "QtText.h"
#include "platform/Drives.h"
#include "platform/Wildcard.h"

namespace platform::ui {
namespace {

std::vector<std::string> SplitPatterns(const std::string& patterns) {
  std::vector<std::string> list;
  std::string current;
  for (char c : patterns + ";") {
    if (c == ';') {
      const std::size_t first = current.find_first_not_of(' ');
      const std::size_t last = current.find_last_not_of(' ');
      if (first != std::string::npos) list.push_back(current.substr(first, last - first + 1));
      current.clear();
    } else {
      current += c;
    }
  }
  return list;
}

class PatternFilter : public QSortFilterProxyModel {
public:
  void SetPatterns(std::vector<std::string> patterns) {
    m_patterns = std::move(patterns);
    invalidateFilter();
  }

protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (!files || m_patterns.empty()) return true;
    const QModelIndex index = files->index(row, 0, parent);
    if (files->isDir(index)) return true;
    const std::string name = FromQt(files->fileName(index));
    for (const std::string& pattern : m_patterns) {
      if (MatchesWildcard(name, pattern)) return true;
    }
    return false;
  }

private:
  std::vector<std::string> m_patterns;
};

// The picker's start folder as a native path; "" leaves it to the dialog.
QString StartFolder(const std::optional<std::string>& folder) {
  if (!folder || folder->empty()) return QString();
  return ToQt(ToNativePath(MakeAbsolute(*folder)));
}

std::string ChosenPath(const QFileDialog& dialog) {
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? std::string() : ToDrivePath(FromQt(files.first()));
}

class QtPickers : public PickerHandler {
public:
  bool PickFile(const OpenFileRequest& request, std::string& path) override {
    QFileDialog dialog(OwnerWidget(request.owner),
                       request.title.empty() ? QStringLiteral("Open") : ToQt(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    auto* filter = new PatternFilter;
    dialog.setProxyModel(filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
    if (const QString start = StartFolder(request.initialFolder); !start.isEmpty()) {
      dialog.setDirectory(start);
    }
    // The dialog shows the descriptions; "(*)" lets every name through to
    // the filter model, which applies the patterns.
    QStringList names;
    for (const FileFilter& entry : request.filters) names << ToQt(entry.description) + " (*)";
    if (names.isEmpty()) names << QStringLiteral("All files (*.*) (*)");
    dialog.setNameFilters(names);
    const int selected =
        request.filterIndex > 0 && request.filterIndex <= names.size() ? request.filterIndex - 1 : 0;
    dialog.selectNameFilter(names[selected]);
    auto applyFilter = [&request, filter, names](const QString& name) {
      const qsizetype index = names.indexOf(name);
      const bool known = index >= 0 && index < static_cast<qsizetype>(request.filters.size());
      filter->SetPatterns(known ? SplitPatterns(request.filters[index].patterns)
                                : std::vector<std::string>{});
    };
    applyFilter(names[selected]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, applyFilter);
    if (dialog.exec() != QDialog::Accepted) return false;
    path = ChosenPath(dialog);
    return true;
  }

  bool PickFolder(const FolderRequest& request, std::string& path) override {
    QFileDialog dialog(OwnerWidget(request.owner), request.title.empty()
                                                       ? QStringLiteral("Browse for Folder")
                                                       : ToQt(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted) return false;
    path = ChosenPath(dialog);
    return true;
  }
};

}  // namespace

PickerHandler& DesktopPickers() {
  static QtPickers handler;
  return handler;
}

}  // namespace platform::ui
