// Ombral's main dialog driven as a user drives it: folding, the protocol
// rules, scanning, the pickers, opening the index, the about box, closing.
#include "ombral/OmbralDlg.h"

#include <gtest/gtest.h>

#include "OmbralTestTree.h"
#include "platform/ProgressCtrl.h"
#include "platform/testing/Faults.h"
#include "platform/testing/ListBoxCapacity.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

constexpr const char* kCaption = "Ombral for Windows";

// The dialog open (modeless) on T:\Pics, with every message box recorded.
class OmbralDialog : public ::testing::Test {
protected:
  void SetUp() override {
    MakePictureTree(m_drive);
    m_dialog.m_strPath = "T:\\Pics";
    ASSERT_TRUE(m_dialog.Create(COmbralDlg::IDD));
  }
  int Height() const {
    CRect rect;
    m_dialog.GetWindowRect(rect);
    return rect.Height();
  }
  std::vector<std::string> Protocol() const { return ListLines(m_dialog, IDC_PROTOCOL); }
  void FillProtocol(int lines) {
    for (int i = 0; i < lines; ++i) m_dialog.AddProtocolLine(("line " + std::to_string(i)).c_str());
  }

  TempDrive m_drive{'T'};
  RecordingMessageBoxes m_boxes;
  COmbralDlg m_dialog;
};

TEST_F(OmbralDialog, TheProtocolOpensFoldedAndUnfoldsBy350Pixels) {
  EXPECT_EQ(ShownText(m_dialog, IDC_TOGGLE_PROTOCOL), "&Protocoll >>");
  const int folded = Height();
  Click(m_dialog, IDC_TOGGLE_PROTOCOL);
  EXPECT_EQ(ShownText(m_dialog, IDC_TOGGLE_PROTOCOL), "&Protocoll <<");
  EXPECT_EQ(Height(), folded + 350);
  // Unfolded, the window holds the whole template.
  CRect client;
  m_dialog.GetClientRect(client);
  RECT full{0, 0, 454, 338};
  m_dialog.MapDialogRect(&full);
  EXPECT_EQ(client.Height(), full.bottom);
  Click(m_dialog, IDC_TOGGLE_PROTOCOL);
  EXPECT_EQ(ShownText(m_dialog, IDC_TOGGLE_PROTOCOL), "&Protocoll >>");
  EXPECT_EQ(Height(), folded);
}

TEST_F(OmbralDialog, EditingThePageSettingsEmptiesTheProtocolButNotTheFilter) {
  struct Row {
    const char* what;
    std::function<void()> act;
    bool empties;
  };
  COmbralDlg& dialog = m_dialog;
  const Row rows[] = {
      {"path", [&] { Type(dialog, IDC_PATH, "x"); }, true},
      {"index", [&] { Type(dialog, IDC_INDEX_FILE, "x"); }, true},
      {"frame", [&] { Type(dialog, IDC_FRAME_FILE, "x"); }, true},
      {"overwrite", [&] { Click(dialog, IDC_OVERWRITE); }, true},
      {"recurse", [&] { Click(dialog, IDC_RECURSE); }, true},
      {"close after scan", [&] { Click(dialog, IDC_CLOSE_AFTER_SCAN); }, true},
      {"no logging", [&] { Click(dialog, IDC_NO_LOGGING); }, true},
      {"filter", [&] { Type(dialog, IDC_FILTER, "x"); }, false},
      {"ignore empty paths", [&] { Click(dialog, IDC_IGNORE_EMPTY_PATHS); }, false},
  };
  for (const Row& row : rows) {
    FillProtocol(3);
    row.act();
    EXPECT_EQ(Protocol().size(), row.empties ? 0u : 3u) << row.what;
    EXPECT_EQ(m_dialog.m_nProtocolLines, row.empties ? 0 : 3) << row.what;
    m_dialog.ClearProtocol();
  }
}

TEST_F(OmbralDialog, AfterMoreThan3000LinesTheNextLineStandsAlone) {
  FillProtocol(3001);
  EXPECT_EQ(Protocol().size(), 3001u);
  EXPECT_EQ(ListSelection(m_dialog, IDC_PROTOCOL), 3000);  // the last line shows
  m_dialog.AddProtocolLine("the next one");
  EXPECT_EQ(Protocol(), std::vector<std::string>{"the next one"});
  EXPECT_EQ(ListSelection(m_dialog, IDC_PROTOCOL), 0);
  EXPECT_EQ(m_dialog.m_nProtocolLines, 1);
}

// Lines added as a batch must leave the list as the same lines added one by
// one do: the same lines, count and selection.
TEST_F(OmbralDialog, ABatchOfLinesShowsWhatTheLinesOneByOneShow) {
  COmbralDlg single;
  ASSERT_TRUE(single.Create(COmbralDlg::IDD));
  struct Row {
    int before;  // lines added one by one first
    int batch;   // then this many in one batch
    int capacity;
  };
  const Row rows[] = {{0, 0, -1},    {0, 1, -1},    {0, 3001, -1},  {0, 3002, -1}, {5, 2996, -1},
                      {5, 2997, -1}, {3001, 1, -1}, {100, 3200, -1}, {0, 6003, -1}, {2, 10, 6},
                      {0, 25, 4}};
  for (const Row& row : rows) {
    const int previous = SetListBoxCapacity(row.capacity);
    for (COmbralDlg* dialog : {&m_dialog, &single}) {
      dialog->ClearProtocol();
      for (int i = 0; i < row.before; ++i) dialog->AddProtocolLine(("old " + std::to_string(i)).c_str());
    }
    std::vector<std::string> lines;
    for (int i = 0; i < row.batch; ++i) lines.push_back("new " + std::to_string(i));
    m_dialog.AddProtocolLines(lines);
    for (const std::string& line : lines) single.AddProtocolLine(line.c_str());
    SetListBoxCapacity(previous);
    const std::string what = std::to_string(row.before) + " + " + std::to_string(row.batch);
    EXPECT_EQ(Protocol(), ListLines(single, IDC_PROTOCOL)) << what;
    EXPECT_EQ(m_dialog.m_nProtocolLines, single.m_nProtocolLines) << what;
    EXPECT_EQ(ListSelection(m_dialog, IDC_PROTOCOL), ListSelection(single, IDC_PROTOCOL)) << what;
  }
}

TEST_F(OmbralDialog, AListOutOfSpaceIsResetAndKeepsTheNewLine) {
  const int previous = SetListBoxCapacity(4);
  FillProtocol(5);
  SetListBoxCapacity(previous);
  EXPECT_EQ(Protocol(), (std::vector<std::string>{"...RESET LIST CONTENT...", "line 4"}));
  EXPECT_EQ(m_dialog.m_nProtocolLines, 2);
}

TEST_F(OmbralDialog, ScanWritesThePagesAndReports) {
  Click(m_dialog, IDC_IGNORE_EMPTY_PATHS);  // leaves the protocol alone
  Click(m_dialog, IDOK);
  EXPECT_TRUE(RunEventsUntil([&] { return !m_dialog.IsScanning(); }, 20000));
  EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "SCAN COMPLETED");
  EXPECT_EQ(ShownText(m_dialog, IDOK), "&Scan...");
  EXPECT_TRUE(m_drive.Exists("Pics/_xbmidx.html"));
  EXPECT_TRUE(m_drive.Exists("Pics/_FileIndexFrame.html"));
  EXPECT_TRUE(m_drive.Exists("Pics/_xidxbase.html"));
  EXPECT_TRUE(m_drive.Exists("Pics/A/_FileIndex.html"));
  EXPECT_FALSE(m_drive.Exists("Pics/B/_FileIndex.html"));
  EXPECT_EQ(Protocol(), (std::vector<std::string>{"PATH: T:\\Pics", "", "", "CREATED FILES: 1",
                                                  "FOUND IMAGES: 2 with 4 KB", "FOUND PATHS: 3"}));
  EXPECT_TRUE(m_boxes.Boxes().empty());
  EXPECT_TRUE(m_dialog.IsWindowVisible());  // "Close after scan" is off
}

TEST_F(OmbralDialog, EveryButtonAndLabelHasItsLetterAndEveryFieldItsName) {
  std::string letters;
  for (const int id : {IDOK, IDC_CLOSE, IDC_TOGGLE_PROTOCOL, IDC_OVERWRITE, IDC_RECURSE, IDC_CLOSE_AFTER_SCAN,
                       IDC_NO_LOGGING, IDC_IGNORE_EMPTY_PATHS, IDC_GALLERY, IDC_PREVIEWS, IDC_REMOVE_STALE, IDC_DRY_RUN}) {
    const std::string text = ShownText(m_dialog, id);
    const std::size_t mark = text.find('&');
    ASSERT_NE(mark, std::string::npos) << text;
    letters += static_cast<char>(std::tolower(static_cast<unsigned char>(text[mark + 1])));
  }
  struct Row {
    int field;
    const char* name;
    char letter;
  };
  const Row rows[] = {{IDC_PATH, "Path to scan", 'a'}, {IDC_INDEX_FILE, "HTML index", 'x'},
                      {IDC_FRAME_FILE, "HTML frame", 'm'}, {IDC_FILTER, "Filter", 'f'}};
  for (const Row& row : rows) {
    EXPECT_EQ(AccessibleName(m_dialog, row.field), row.name);
    letters += row.letter;
    // Alt and the label's letter take the focus to the field.
    PressAlt(m_dialog, row.letter);
    EXPECT_TRUE(HasFocus(m_dialog, row.field)) << row.name;
  }
  std::string unique = letters;
  std::sort(unique.begin(), unique.end());
  EXPECT_EQ(std::adjacent_find(unique.begin(), unique.end()), unique.end()) << letters;  // no letter twice
}

TEST_F(OmbralDialog, TheBarCountsFoldersAndACleanRunOffersItsPages) {
  CWnd* bar = m_dialog.GetDlgItem(IDC_PROGRESS);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->IsWindowVisible());  // only while a scan runs
  Click(m_dialog, IDOK);
  EXPECT_TRUE(bar->IsWindowVisible());
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_STATUS)->IsWindowVisible());
  m_dialog.WaitForScan();
  // The dialog's own bar object is the one attached to the control.
  const auto* shown = dynamic_cast<CProgressCtrl*>(m_dialog.GetDlgItem(IDC_PROGRESS));
  ASSERT_NE(shown, nullptr);
  int lower = -1, upper = -1;
  shown->GetRange(lower, upper);
  EXPECT_EQ(upper, 3);  // Pics, A and B, all done
  EXPECT_EQ(shown->GetPos(), 3);
  EXPECT_FALSE(bar->IsWindowVisible());
  EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "SCAN COMPLETED");
  EXPECT_TRUE(HasFocus(m_dialog, IDC_OPEN_INDEX));  // Enter opens the pages
}

TEST_F(OmbralDialog, AFolderDroppedOntoTheDialogBecomesThePath) {
  m_drive.WriteFile("Other/Sub/photo.jpg", "x");
  struct Row {
    int onto;             // the control dropped onto; 0 for the dialog
    const char* dropped;  // below the drive
    const char* path;     // the path field then
  };
  const Row rows[] = {
      {IDC_PATH, "Other/Sub", "T:\\Other\\Sub"},
      {0, "Other", "T:\\Other"},
      {IDC_FILTER, "Other/Sub/photo.jpg", "T:\\Other\\Sub"},  // a file: its folder
  };
  for (const Row& row : rows) {
    DropFiles(m_dialog, row.onto, {m_drive.Native(row.dropped)});
    EXPECT_EQ(ShownText(m_dialog, IDC_PATH), row.path) << row.dropped;
  }
  EXPECT_EQ(ShownText(m_dialog, IDC_FILTER), COmbralScan::kDefaultFilter);  // no address typed into it
}

TEST_F(OmbralDialog, ARelativePathScansTheSameFolderEveryTime) {
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\"));
  Retype(m_dialog, IDC_PATH, "Pics");
  for (int run = 0; run < 2; ++run) {
    Click(m_dialog, IDOK);
    m_dialog.WaitForScan();
    EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "SCAN COMPLETED") << run;
    EXPECT_EQ(Protocol().front(), "PATH: T:\\Pics") << run;
  }
  EXPECT_NE(m_drive.ReadFile("Pics/_xbmidx.html").find("<A HREF=\"A/_FileIndex.html\""), std::string::npos);
}

TEST_F(OmbralDialog, ARunWithErrorsSaysHowManyAndShowsTheFirst) {
  // Every folder page fails as on a full disk; the pictures are found all the same.
  platform::testing::FailWritesContaining("Image: ", ENOSPC);
  Click(m_dialog, IDOK);
  m_dialog.WaitForScan();
  platform::testing::ResetFaults();
  EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "SCAN COMPLETED WITH 1 ERROR");
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_PROTOCOL)->IsWindowVisible());
  const std::vector<std::string> protocol = Protocol();
  const int selected = ListSelection(m_dialog, IDC_PROTOCOL);
  ASSERT_GE(selected, 0);
  EXPECT_EQ(protocol[static_cast<std::size_t>(selected)].rfind("Cannot write file \"T:\\Pics\\A\\_FileIndex.html\"", 0), 0u)
      << protocol[static_cast<std::size_t>(selected)];
  EXPECT_NE(std::find(protocol.begin(), protocol.end(), "FOUND IMAGES: 2 with 4 KB"), protocol.end());
  // A clean run says what it always said.
  Click(m_dialog, IDOK);
  m_dialog.WaitForScan();
  EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "SCAN COMPLETED");
}

TEST_F(OmbralDialog, ABadPageNameIsNamedAndFocusedBeforeAnyScan) {
  struct Row {
    int field;
    const char* value;
    const char* message;
  };
  const Row rows[] = {
      {IDC_INDEX_FILE, "a*b.html",
       "The index filename \"a*b.html\" is not a valid filename (contains invalid characters)."},
      {IDC_FRAME_FILE, "a?.html",
       "The html frame filename \"a?.html\" is not a valid filename (contains invalid characters)."},
      {IDC_INDEX_FILE, "pic.jpg", "The index filename \"pic.jpg\" is not a valid filename (the filter matches it)."},
      {IDC_FRAME_FILE, "_xbmidx.html",
       "The html frame filename \"_xbmidx.html\" is not a valid filename (Ombral uses that name for its own files)."},
      // The same name in both fields: the one just edited is blamed.
      {IDC_INDEX_FILE, "_FileIndexFrame.html",
       "The index filename \"_FileIndexFrame.html\" is not a valid filename (it is the html frame filename)."},
      {IDC_FRAME_FILE, "_FileIndex.html",
       "The html frame filename \"_FileIndex.html\" is not a valid filename (it is the index filename)."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    RecordingMessageBoxes boxes;
    CString saved;
    m_dialog.GetDlgItemText(row.field, saved);
    Retype(m_dialog, row.field, row.value);
    Click(m_dialog, IDOK);
    EXPECT_FALSE(m_dialog.IsScanning());
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{row.message});
    EXPECT_TRUE(HasFocus(m_dialog, row.field));
    EXPECT_TRUE(Protocol().empty());
    EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "");  // no scan ran
    m_dialog.SetDlgItemText(row.field, saved);
  }
}

TEST_F(OmbralDialog, AFailedValidationShowsItsMessageAndCancels) {
  struct Row {
    int field;
    const char* value;
    const char* message;
  };
  const Row rows[] = {
      {IDC_PATH, "", "Need a valid path statement to create the index."},
      {IDC_PATH, "T:\\Gone", "Path \"T:\\Gone\" could not be found."},
  };
  for (const Row& row : rows) {
    RecordingMessageBoxes boxes;
    CString saved;
    m_dialog.GetDlgItemText(row.field, saved);
    Retype(m_dialog, row.field, row.value);
    Press(m_dialog, Key::Enter, row.field);  // Enter in a field starts the scan
    m_dialog.WaitForScan();
    ASSERT_EQ(boxes.Boxes().size(), 1u) << row.message;
    EXPECT_EQ(boxes.Boxes()[0].text, row.message);
    EXPECT_EQ(boxes.Boxes()[0].caption, kCaption);
    EXPECT_EQ(boxes.Boxes()[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes.Boxes()[0].owner, m_dialog.m_hWnd);
    EXPECT_EQ(Protocol(), std::vector<std::string>{row.message});
    EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "SCAN CANCELED!");
    m_dialog.SetDlgItemText(row.field, saved);
  }
  EXPECT_FALSE(m_drive.Exists("Pics/_xbmidx.html"));
}

TEST_F(OmbralDialog, AFolderThatCannotBeReadIsNamedWithTheReason) {
  m_drive.MakeDir("Locked");
  m_drive.Chmod("Locked", 0);
  ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot drop root privileges to make a folder unreadable";
  Retype(m_dialog, IDC_PATH, "T:\\Locked");
  Click(m_dialog, IDOK);
  m_dialog.WaitForScan();
  const std::string message = "Path \"T:\\Locked\" cannot be read: Permission denied.";
  ASSERT_EQ(m_boxes.Boxes().size(), 1u);
  EXPECT_EQ(m_boxes.Boxes()[0].text, message);
  EXPECT_EQ(m_boxes.Boxes()[0].caption, kCaption);
  EXPECT_EQ(m_boxes.Boxes()[0].type, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(Protocol(), std::vector<std::string>{message});
  EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "SCAN CANCELED!");
}

TEST_F(OmbralDialog, APathLongerThanTheFieldAllowsStopsTheScan) {
  // Only the command line can put such a path into the field.
  const std::string longPath = "T:\\Pics\\" + std::string(300, 'x');
  m_dialog.SetDlgItemText(IDC_PATH, longPath.c_str());
  EXPECT_EQ(ShownText(m_dialog, IDC_PATH), longPath);  // shown whole
  Click(m_dialog, IDOK);
  EXPECT_EQ(m_boxes.Texts(),
            std::vector<std::string>{"The path to scan may have at most 255 characters; this one has 308."});
  EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "");  // no scan ran
  EXPECT_TRUE(HasFocus(m_dialog, IDC_PATH));
  EXPECT_FALSE(m_drive.Exists("Pics/_xbmidx.html"));
}

TEST_F(OmbralDialog, ThePickersFillThePathOrLeaveIt) {
  RecordingPickers pickers;
  pickers.Answer(std::string("T:\\Pics\\A"));
  Click(m_dialog, IDC_BROWSE_FOLDER);
  EXPECT_EQ(ShownText(m_dialog, IDC_PATH), "T:\\Pics\\A");
  pickers.Answer(std::nullopt);
  Click(m_dialog, IDC_BROWSE_FOLDER);
  EXPECT_EQ(ShownText(m_dialog, IDC_PATH), "T:\\Pics\\A");

  pickers.Answer(std::string("T:\\Pics\\B\\readme.txt"));
  Click(m_dialog, IDC_BROWSE_FILE);
  EXPECT_EQ(ShownText(m_dialog, IDC_PATH), "T:\\Pics\\B");  // the file's folder
  EXPECT_EQ(m_dialog.m_strPath, "T:\\Pics\\B");
  pickers.Answer(std::nullopt);
  Click(m_dialog, IDC_BROWSE_FILE);
  EXPECT_EQ(ShownText(m_dialog, IDC_PATH), "T:\\Pics\\B");

  // A folder whose path the field cannot hold is named and not taken.
  const std::string deep = "T:\\Pics\\" + std::string(300, 'd');
  pickers.Answer(deep);
  RecordingMessageBoxes boxes;
  Click(m_dialog, IDC_BROWSE_FOLDER);
  EXPECT_EQ(ShownText(m_dialog, IDC_PATH), "T:\\Pics\\B");
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"The folder \"" + deep + "\" cannot be scanned from here: its path "
                                                    "has 308 characters, and the path to scan may have at most 255."});

  ASSERT_EQ(pickers.FileRequests().size(), 2u);
  EXPECT_EQ(pickers.FileRequests()[0].initialFolder, "T:\\Pics\\A");
  EXPECT_EQ(pickers.FileRequests()[0].title, "");
  EXPECT_EQ(pickers.FileRequests()[0].owner, m_dialog.m_hWnd);
  ASSERT_EQ(pickers.FolderRequests().size(), 3u);
  EXPECT_EQ(pickers.FolderRequests()[0].title, "");
}

TEST_F(OmbralDialog, TheArrowOpensTheFramesetPageOrSaysWhy) {
  RecordingShell shell;
  m_drive.WriteFile("Pics/_FileIndexFrame.html", "<html>");
  Click(m_dialog, IDC_OPEN_INDEX);
  ASSERT_EQ(shell.Requests().size(), 1u);
  EXPECT_EQ(shell.Requests()[0].file, "T:\\Pics\\_FileIndexFrame.html");
  EXPECT_TRUE(m_boxes.Boxes().empty());

  Retype(m_dialog, IDC_FRAME_FILE, "gone.html");
  Click(m_dialog, IDC_OPEN_INDEX);
  ASSERT_EQ(m_boxes.Boxes().size(), 1u);
  EXPECT_EQ(m_boxes.Boxes()[0].text, "The specified file T:\\Pics\\gone.html was not found.");
  EXPECT_EQ(m_boxes.Boxes()[0].caption, kCaption);
  EXPECT_EQ(m_boxes.Boxes()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);

  Retype(m_dialog, IDC_PATH, "");
  Click(m_dialog, IDC_OPEN_INDEX);
  ASSERT_EQ(m_boxes.Boxes().size(), 2u);
  EXPECT_EQ(m_boxes.Boxes()[1].text, "You need a path to open the index in your browser.");
  EXPECT_EQ(Protocol(),
            std::vector<std::string>{"You need a path to open the index in your browser."});
  EXPECT_EQ(shell.Requests().size(), 1u);
}

TEST_F(OmbralDialog, TheSystemMenuShowsTheAboutBox) {
  ModalTimeout timeout;
  bool shown = false;
  Post([&] {
    CWnd* about = ActiveModalWindow();
    ASSERT_NE(about, nullptr);
    CString caption;
    about->GetWindowText(caption);
    EXPECT_EQ(caption, "Info \xC3\xBC" "ber Ombral");
    EXPECT_EQ(about->GetParent(), &m_dialog);
    shown = true;
    Click(*about, IDOK);
  });
  EXPECT_TRUE(ChooseSystemMenuItem(m_dialog, IDM_ABOUTBOX));
  EXPECT_TRUE(shown);
  EXPECT_EQ(ActiveModalWindow(), nullptr);
  EXPECT_TRUE(m_dialog.IsWindowVisible());
}

// --- Previews and stale pages -------------------------------------------------------------

TEST_F(OmbralDialog, TheNewOptionsStartOffAndTheirDetailsFollowThem) {
  for (int id : {IDC_PREVIEWS, IDC_REMOVE_STALE, IDC_DRY_RUN}) EXPECT_EQ(m_dialog.IsDlgButtonChecked(id), 0u) << id;
  EXPECT_EQ(ShownText(m_dialog, IDC_PREVIEW_EDGE), "240");
  EXPECT_EQ(ShownText(m_dialog, IDC_PREVIEWS), "Pre&views");
  EXPECT_EQ(ShownText(m_dialog, IDC_REMOVE_STALE), "Remove stal&e pages");
  EXPECT_EQ(ShownText(m_dialog, IDC_DRY_RUN), "&Dry run");
  // The edge only with previews, the dry run only with the removal.
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_PREVIEW_EDGE)->IsWindowEnabled());
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_DRY_RUN)->IsWindowEnabled());
  Click(m_dialog, IDC_PREVIEWS);
  Click(m_dialog, IDC_REMOVE_STALE);
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_PREVIEW_EDGE)->IsWindowEnabled());
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_DRY_RUN)->IsWindowEnabled());
  // Only digits can be typed into the edge.
  Retype(m_dialog, IDC_PREVIEW_EDGE, "3x2-0");
  EXPECT_EQ(ShownText(m_dialog, IDC_PREVIEW_EDGE), "320");
  Click(m_dialog, IDC_PREVIEWS);
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_PREVIEW_EDGE)->IsWindowEnabled());
}

TEST_F(OmbralDialog, TheNewOptionsReachTheScan) {
  Click(m_dialog, IDC_PREVIEWS);
  Retype(m_dialog, IDC_PREVIEW_EDGE, "320");
  Click(m_dialog, IDC_REMOVE_STALE);
  Click(m_dialog, IDC_DRY_RUN);
  Click(m_dialog, IDOK);
  m_dialog.WaitForScan();
  EXPECT_EQ(m_dialog.m_nPreviewEdge, 320);
  EXPECT_EQ(m_dialog.m_bRemoveStale, 1);
  EXPECT_EQ(m_dialog.m_bDryRun, 1);
  const std::vector<std::string> protocol = Protocol();
  ASSERT_GE(protocol.size(), 2u);
  EXPECT_EQ(protocol[protocol.size() - 2].rfind("PREVIEWS: ", 0), 0u);
  EXPECT_EQ(protocol.back(), "STALE FILES: 0 (dry run, nothing removed)");
  EXPECT_FALSE(m_drive.Exists("Pics/A/_FileIndex.html"));  // a dry run writes nothing

  // Without the removal the dry run does not count, and without previews
  // the edge does not.
  Click(m_dialog, IDC_REMOVE_STALE);
  Click(m_dialog, IDC_PREVIEWS);
  EXPECT_EQ(m_dialog.IsDlgButtonChecked(IDC_DRY_RUN), 1u);
  Click(m_dialog, IDOK);
  m_dialog.WaitForScan();
  EXPECT_EQ(m_dialog.m_nPreviewEdge, 0);
  EXPECT_EQ(m_dialog.m_bRemoveStale, 0);
  EXPECT_EQ(m_dialog.m_bDryRun, 0);
  EXPECT_EQ(Protocol().back(), "FOUND PATHS: 3");
  EXPECT_TRUE(m_drive.Exists("Pics/A/_FileIndex.html"));
}

TEST_F(OmbralDialog, GalleryBringsItsFilterAndWritesTheGallerysPages) {
  EXPECT_EQ(m_dialog.IsDlgButtonChecked(IDC_GALLERY), 0u);
  EXPECT_EQ(ShownText(m_dialog, IDC_GALLERY), "&Gallery");
  Click(m_dialog, IDC_GALLERY);
  EXPECT_EQ(ShownText(m_dialog, IDC_FILTER), COmbralScan::kGalleryFilter);
  Click(m_dialog, IDOK);
  m_dialog.WaitForScan();
  EXPECT_EQ(m_dialog.m_bGallery, 1);
  EXPECT_EQ(m_drive.ReadFile("Pics/_FileIndexFrame.html").rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_EQ(Protocol().back().rfind("PREVIEWS: ", 0), 0u);
  // Back to the classic pages and their filter; a filter the user typed stays.
  Click(m_dialog, IDC_GALLERY);
  EXPECT_EQ(ShownText(m_dialog, IDC_FILTER), COmbralScan::kDefaultFilter);
  Retype(m_dialog, IDC_FILTER, "JPG");
  Click(m_dialog, IDC_GALLERY);
  EXPECT_EQ(ShownText(m_dialog, IDC_FILTER), "JPG");
}

TEST_F(OmbralDialog, PreviewsFollowTheEdgeBothWays) {
  ASSERT_TRUE(platform::testing::WriteTestPicture(m_drive.Native("Pics/B/photo.jpg"), 800, 600));
  Click(m_dialog, IDC_PREVIEWS);
  for (const char* edge : {"16", "240", "16"}) {
    Retype(m_dialog, IDC_PREVIEW_EDGE, edge);
    Click(m_dialog, IDOK);
    m_dialog.WaitForScan();
    EXPECT_EQ(Protocol().back(), "PREVIEWS: 1 made, 0 unchanged") << edge;
    const std::string width = std::string("WIDTH=\"") + edge + "\"";
    EXPECT_NE(m_drive.ReadFile("Pics/B/_FileIndex.html").find(width), std::string::npos) << edge;
  }
}

TEST_F(OmbralDialog, AnEdgeOutsideItsRangeStopsTheScan) {
  Click(m_dialog, IDC_PREVIEWS);
  for (const char* edge : {"8", "5000", "", "99999999999"}) {
    RecordingMessageBoxes boxes;
    Retype(m_dialog, IDC_PREVIEW_EDGE, edge);
    Click(m_dialog, IDOK);
    EXPECT_FALSE(m_dialog.IsScanning()) << edge;
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Enter an integer between 16 and 4096."}) << edge;
    EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "") << edge;  // no scan ran
    EXPECT_TRUE(HasFocus(m_dialog, IDC_PREVIEW_EDGE));
  }
  EXPECT_FALSE(m_drive.Exists("Pics/_xbmidx.html"));
}

// --- Closing (the dialog run modally, as the program runs it) --------------------------

class OmbralClosing : public ::testing::Test {
protected:
  void SetUp() override { MakePictureTree(m_drive); }
  // Runs the dialog on T:\Pics with `actions` posted into its loop.
  INT_PTR Run(const std::function<void()>& actions) {
    Post(actions);
    return m_dialog.RunWithPath("T:\\Pics");
  }
  TempDrive m_drive{'T'};
  RecordingMessageBoxes m_boxes;
  ModalTimeout m_timeout;
  COmbralDlg m_dialog;
};

TEST_F(OmbralClosing, EscAsksAndNoKeepsTheDialogWhileCloseDoesNotAsk) {
  m_boxes.Answer(IDNO);
  const INT_PTR result = Run([&] {
    Press(m_dialog, Key::Escape);
    EXPECT_TRUE(m_dialog.IsWindowVisible());
    Click(m_dialog, IDC_CLOSE);
  });
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(m_boxes.Boxes().size(), 1u);
  EXPECT_EQ(m_boxes.Boxes()[0].text, "Close application?");
  EXPECT_EQ(m_boxes.Boxes()[0].caption, kCaption);
  EXPECT_EQ(m_boxes.Boxes()[0].type, MB_YESNO | MB_ICONQUESTION);
}

TEST_F(OmbralClosing, TheCloseBoxAsksAndYesCloses) {
  m_boxes.Answer(IDYES);
  EXPECT_EQ(Run([&] { ClickCloseBox(m_dialog); }), IDCANCEL);
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Close application?"});
}

// Answers "Close application?" only after the scan has ended.
class AnswerAfterTheScan : public platform::MessageBoxHandler {
public:
  AnswerAfterTheScan(COmbralDlg& dialog, int answer)
      : m_dialog(dialog), m_answer(answer), m_previous(platform::SetMessageBoxHandler(this)) {}
  ~AnswerAfterTheScan() override { platform::SetMessageBoxHandler(m_previous); }
  int Show(HWND, const char*, const char*, UINT) override {
    m_dialog.WaitForScan();
    m_visibleAtAnswer = m_dialog.IsWindowVisible() != FALSE;
    return m_answer;
  }
  bool m_visibleAtAnswer = false;

private:
  COmbralDlg& m_dialog;
  int m_answer;
  platform::MessageBoxHandler* m_previous;
};

TEST_F(OmbralClosing, AScanEndingWhileTheQuestionIsOpenLeavesTheDialogToTheAnswer) {
  for (const int answer : {IDNO, IDYES}) {
    COmbralDlg dialog;
    AnswerAfterTheScan boxes(dialog, answer);
    bool openAfterNo = false;
    Post([&] {
      Click(dialog, IDC_CLOSE_AFTER_SCAN);
      Click(dialog, IDOK);
      Press(dialog, Key::Escape, IDOK);  // asks; the scan ends before the answer
      openAfterNo = dialog.IsWindowVisible() != FALSE;
      if (answer == IDNO) Click(dialog, IDC_CLOSE);
    });
    const INT_PTR result = dialog.RunWithPath("T:\\Pics");
    EXPECT_TRUE(boxes.m_visibleAtAnswer) << answer;  // never the question alone
    EXPECT_EQ(result, IDCANCEL) << answer;
    if (answer == IDNO) {
      EXPECT_TRUE(openAfterNo);
    }
  }
}

TEST_F(OmbralClosing, CloseAfterScanEndsTheDialogOnlyAfterACompletedScan) {
  const INT_PTR result = Run([&] {
    Click(m_dialog, IDC_CLOSE_AFTER_SCAN);
    Retype(m_dialog, IDC_PATH, "T:\\Gone");
    Click(m_dialog, IDOK);  // cancelled: the dialog stays
    m_dialog.WaitForScan();
    EXPECT_TRUE(m_dialog.IsWindowVisible());
    Retype(m_dialog, IDC_PATH, "T:\\Pics");
    Click(m_dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(m_dialog.m_bCloseAfterScan, 1);
  EXPECT_TRUE(m_drive.Exists("Pics/A/_FileIndex.html"));
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Path \"T:\\Gone\" could not be found."});
}

}  // namespace
