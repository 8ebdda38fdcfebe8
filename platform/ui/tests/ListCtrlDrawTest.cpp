// Owner drawing of list rows on real widgets: the draw-item records, the
// drawing surface (colours, text, clip, focus rectangle), image lists drawn
// onto it, and the paint handler's part in what is painted. Pictures are
// grabbed from the widgets and their pixels sampled.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ListTestDialog.h"
#include "platform/ImageList.h"
#include "qt/DcAccess.h"
#include "platform/Dc.h"
#include "platform/Resource.h"
#include "platform/testing/ListViewDriver.h"
#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr UINT kSquareIconId = 9210;
constexpr UINT kDotIconId = 9211;
constexpr const char* kSquare[] = {"4 4 1 1", "x c #FF0000", "xxxx", "xxxx", "xxxx", "xxxx"};
constexpr const char* kDot[] = {"4 4 2 1", ". c None", "o c #0000FF", "....", ".oo.", ".oo.", "...."};
// A checkerboard of 8 by 8 pixels: drawn at 4 by 4 points, with two pixels
// per point, every pixel shows.
constexpr UINT kFineChecksIconId = 9212;
constexpr const char* kFineChecks[] = {"8 8 2 1",  "b c #000000", "w c #FFFFFF", "bwbwbwbw",
                                       "wbwbwbwb", "bwbwbwbw",    "wbwbwbwb",    "bwbwbwbw",
                                       "wbwbwbwb", "bwbwbwbw",    "wbwbwbwb"};
constexpr platform::IconResource kIcons[] = {
    {kSquareIconId, kSquare}, {kDotIconId, kDot}, {kFineChecksIconId, kFineChecks}};
constexpr platform::ResourceModule kModule{"platform_ui_draw_tests", {}, kIcons, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

class OwnerDrawn : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create(kListDialogId));
    m_list.ModifyStyle(0, LVS_OWNERDRAWFIXED);
    FillList(m_list, 3, 2, 60);
  }
  // Draws each row with `draw` and grabs the list.
  WindowPicture Draw(std::function<void(CDC&, CRect)> draw) {
    m_list.m_draw = [draw](LPDRAWITEMSTRUCT item) {
      draw(*CDC::FromHandle(item->hDC), CRect(item->rcItem));
    };
    return GrabWindow(m_list);
  }
  CRect Bounds(int row) {
    CRect bounds;
    m_list.GetItemRect(row, bounds, LVIR_BOUNDS);
    return bounds;
  }
  CListHostDialog m_dialog;
  CRecordingList& m_list = m_dialog.m_list;
};

TEST_F(OwnerDrawn, EachShownRowIsDrawnOnceWithItsRecord) {
  m_list.SetItemData(1, 55);
  m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  HDC surface = nullptr;
  m_list.m_draw = [&](LPDRAWITEMSTRUCT item) {
    surface = item->hDC;
    EXPECT_NE(CDC::FromHandle(item->hDC), nullptr);
  };
  ProcessEvents();
  m_list.m_drawn.clear();
  GrabWindow(m_list);
  ASSERT_EQ(m_list.m_drawn.size(), 3u);
  for (UINT row = 0; row < 3; ++row) {
    const DRAWITEMSTRUCT& item = m_list.m_drawn[row];
    EXPECT_EQ(item.itemID, row);
    EXPECT_EQ(item.CtlType, ODT_LISTVIEW);
    EXPECT_EQ(item.CtlID, static_cast<UINT>(kListViewId));
    EXPECT_EQ(item.hwndItem, m_list.m_hWnd);
    EXPECT_EQ(CRect(item.rcItem), Bounds(static_cast<int>(row)));
  }
  EXPECT_EQ(m_list.m_drawn[1].itemState, ODS_SELECTED);
  EXPECT_EQ(m_list.m_drawn[1].itemData, 55u);
  EXPECT_EQ(CDC::FromHandle(surface), nullptr);  // the surface was lent for the call only
}

TEST_F(OwnerDrawn, DrawingIsNotClippedToTheRow) {
  CRect client;
  m_list.GetClientRect(client);
  const WindowPicture picture = Draw([&](CDC& dc, CRect row) {
    CRect wide(row.left, row.top, client.right, row.bottom);
    dc.FillSolidRect(wide, kGreen);
  });
  const CRect row = Bounds(1);
  ASSERT_LT(row.right + 20, client.right);
  EXPECT_EQ(picture.Pixel(row.left + 2, row.top + 2), kGreen);
  EXPECT_EQ(picture.Pixel(row.right + 15, row.top + 2), kGreen);
}

TEST_F(OwnerDrawn, TextIsAlignedInsideItsRectangleInTheTextColour) {
  const WindowPicture picture = Draw([](CDC& dc, CRect row) {
    dc.FillSolidRect(row, kWhite);
    dc.SetTextColor(kBlue);
    dc.SetBkMode(TRANSPARENT);
    CRect right = row;
    right.right -= 10;
    dc.DrawText("WWW", -1, right, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  });
  const CRect row = Bounds(0);
  const int textWidth = CDC().GetTextExtent("WWW", 3).cx;
  // Blue appears only inside the text's place: between right - 10 - width and right - 10.
  EXPECT_GT(picture.CountPixels(CRect(row.right - 10 - textWidth, row.top, row.right - 10, row.bottom), kBlue), 0);
  EXPECT_EQ(picture.CountPixels(CRect(row.right - 10, row.top, row.right, row.bottom), kBlue), 0);
  EXPECT_EQ(picture.CountPixels(CRect(row.left, row.top, row.right - 12 - textWidth, row.bottom), kBlue), 0);
}

TEST_F(OwnerDrawn, OpaqueTextFillsItsCellWithTheBackgroundColour) {
  const WindowPicture picture = Draw([](CDC& dc, CRect row) {
    dc.FillSolidRect(row, kWhite);
    dc.SetBkColor(kRed);
    dc.SetBkMode(row.top < 30 ? OPAQUE : TRANSPARENT);
    dc.DrawText("mm", -1, row, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  });
  const CRect first = Bounds(0);
  const CRect second = Bounds(1);
  ASSERT_LT(first.top, 30);
  ASSERT_GE(second.top, 30);
  EXPECT_GT(picture.CountPixels(first, kRed), 0);
  EXPECT_EQ(picture.CountPixels(second, kRed), 0);
}

TEST_F(OwnerDrawn, ClipRectanglesNarrowAndSavedStatesComeBack) {
  const WindowPicture picture = Draw([](CDC& dc, CRect row) {
    const int level = dc.SaveDC();
    dc.SetTextColor(kRed);
    dc.IntersectClipRect(row.left, row.top, row.left + 20, row.bottom);
    CRect box;
    EXPECT_EQ(dc.GetClipBox(box), SIMPLEREGION);
    EXPECT_LE(box.right, row.left + 20);
    dc.FillSolidRect(row, kGreen);
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_FALSE(dc.RestoreDC(level));
    EXPECT_NE(dc.GetTextColor(), kRed);
    CRect rest(row.left + 20, row.top, row.right, row.bottom);
    dc.FillSolidRect(rest, kBlue);
  });
  const CRect row = Bounds(2);
  EXPECT_EQ(picture.Pixel(row.left + 5, row.top + 3), kGreen);
  EXPECT_EQ(picture.Pixel(row.left + 25, row.top + 3), kBlue);
}

TEST_F(OwnerDrawn, TheFocusRectangleInvertsAndASecondOneRemovesIt) {
  const WindowPicture picture = Draw([](CDC& dc, CRect row) {
    dc.FillSolidRect(row, kWhite);
    const int times = row.top < 30 ? 1 : 2;
    for (int i = 0; i < times; ++i) dc.DrawFocusRect(row);
  });
  const CRect once = Bounds(0);
  const CRect twice = Bounds(1);
  EXPECT_EQ(picture.Pixel(once.left, once.top), kBlack);
  EXPECT_EQ(picture.Pixel(once.left + 1, once.top), kWhite);  // dotted
  EXPECT_EQ(picture.Pixel(once.left + 4, once.top + 4), kWhite);
  EXPECT_EQ(picture.CountPixels(twice, kBlack), 0);
}

TEST(DrawText, MeasuresWithPrefixesEllipsisAndTheRectangle) {
  CDC dc;
  const int ab = dc.GetTextExtent("ab", 2).cx;
  CRect rect(0, 0, 0, 0);
  dc.DrawText("a&b", -1, rect, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(rect.Width(), ab);  // '&' only marks the b
  CRect plain(0, 0, 0, 0);
  dc.DrawText("a&b", -1, plain, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(plain.Width(), dc.GetTextExtent("a&b", 3).cx);
  EXPECT_GT(plain.Width(), ab);
  EXPECT_EQ(dc.GetTextExtent("abcdef", 2).cx, ab);  // a count of bytes
  CRect none(0, 0, 10, 10);
  EXPECT_EQ(dc.DrawText(nullptr, -1, nullptr, 0), 0);
  EXPECT_GT(dc.DrawText("x", -1, none, DT_SINGLELINE), 0);  // no target: measures only
}

TEST(Brushes, FillWithTheirColourAndAreMadeOnce) {
  CBrush brush;
  EXPECT_TRUE(brush.CreateSolidBrush(kRed));
  EXPECT_FALSE(brush.CreateSolidBrush(kBlue));
  EXPECT_EQ(brush.GetColour(), kRed);
  EXPECT_NE(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_NE(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT));
}

TEST_F(OwnerDrawn, ImagesDrawPlainBlendedAndWithTheirOverlay) {
  CImageList images;
  ASSERT_TRUE(images.Create(4, 4, ILC_MASK, 2, 2));
  ASSERT_EQ(images.Add(platform::LoadIconResource(kSquareIconId)), 0);
  ASSERT_EQ(images.Add(platform::LoadIconResource(kDotIconId)), 1);
  EXPECT_FALSE(images.SetOverlayImage(5, 1));
  EXPECT_FALSE(images.SetOverlayImage(1, 16));
  ASSERT_TRUE(images.SetOverlayImage(1, 1));
  const WindowPicture picture = Draw([&](CDC& dc, CRect row) {
    dc.FillSolidRect(row, kWhite);
    const POINT at{row.left + 2, row.top + 2};
    const UINT style = row.top < 30 ? ILD_TRANSPARENT
                       : row.top < 50 ? ILD_TRANSPARENT | ILD_BLEND50
                                      : ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1);
    EXPECT_TRUE(images.Draw(&dc, 0, at, style));
    EXPECT_FALSE(images.Draw(&dc, 7, at, style));
  });
  const CRect plain = Bounds(0);
  const CRect blended = Bounds(1);
  const CRect overlaid = Bounds(2);
  ASSERT_TRUE(blended.top >= 30 && blended.top < 50 && overlaid.top >= 50);
  EXPECT_EQ(picture.Pixel(plain.left + 2, plain.top + 2), kRed);
  const COLORREF mixed = picture.Pixel(blended.left + 2, blended.top + 2);
  EXPECT_NE(mixed, kRed);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_NEAR(GetRValue(mixed), (255 + GetRValue(highlight)) / 2, 2);
  EXPECT_EQ(picture.Pixel(overlaid.left + 2, overlaid.top + 2), kRed);  // the overlay's clear corner
  EXPECT_EQ(picture.Pixel(overlaid.left + 3, overlaid.top + 3), kBlue);
}

// Draws image 0 of the list at (0, 0) of a picture of `side` points with
// `ratio` pixels per point.
QImage DrawnImage(CImageList& images, int side, int ratio) {
  QImage image(side * ratio, side * ratio, QImage::Format_ARGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::red);
  QPainter painter(&image);
  CDC dc;
  platform::ui::DcAccess::Attach(dc, &painter, QRect(0, 0, side, side), QFont());
  EXPECT_TRUE(images.Draw(&dc, 0, POINT{0, 0}, ILD_TRANSPARENT));
  painter.end();
  return image;
}

TEST(ImageLists, AnIconOfTwiceTheListsSizeKeepsItsPixelsWhereAPointHasTwo) {
  CImageList images;
  ASSERT_TRUE(images.Create(4, 4, ILC_MASK, 1, 1));
  ASSERT_EQ(images.Add(platform::LoadIconResource(kFineChecksIconId)), 0);
  const QImage sharp = DrawnImage(images, 4, 2);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(sharp.pixel(x, y), (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << x << "," << y;
    }
  }
  // With a pixel per point the icon is scaled to the list's size: the
  // checks mix to grey, and nothing is drawn outside the image.
  const QImage plain = DrawnImage(images, 6, 1);
  EXPECT_NEAR(qGray(plain.pixel(1, 1)), 128, 20);
  EXPECT_EQ(plain.pixel(4, 4), qRgb(255, 0, 0));
  // An icon of the list's own size is drawn as it is at either ratio.
  CImageList same;
  ASSERT_TRUE(same.Create(8, 8, ILC_MASK, 1, 1));
  ASSERT_EQ(same.Add(platform::LoadIconResource(kFineChecksIconId)), 0);
  EXPECT_EQ(DrawnImage(same, 8, 1).pixel(1, 0), qRgb(255, 255, 255));
}

TEST_F(OwnerDrawn, WhatOnPaintInvalidatesIsPaintedWithoutEndlessRepaints) {
  CRect client;
  m_list.GetClientRect(client);
  std::vector<CRect> boxes;
  m_list.m_onPaint = [&] {
    CPaintDC dc(&m_list);
    CRect box;
    dc.GetClipBox(box);
    boxes.push_back(box);
    box.right = client.right;
    m_list.InvalidateRect(box, FALSE);
  };
  ProcessEvents();
  const CRect row = Bounds(1);
  boxes.clear();
  m_list.InvalidateRect(CRect(row.left, row.top, row.left + 10, row.bottom), FALSE);
  for (int i = 0; i < 5; ++i) ProcessEvents();
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_LE(boxes.size(), 3u);
  EXPECT_LT(boxes.front().right, client.right);
  EXPECT_GE(boxes.back().right, client.right - 4);  // the viewport ends inside the frame
  EXPECT_LE(boxes.back().left, row.left);
}

}  // namespace
