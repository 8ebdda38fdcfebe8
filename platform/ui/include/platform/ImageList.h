// CImageList: a row of equally sized images (icons) that list and tree
// views show beside their items, addressed by a 0-based index.
//
// An image list is made empty with a size (Create(cx, cy, ...)), or from a
// bitmap resource cut into images of one width. Its handle (m_hImageList)
// is what the views keep: a handle is never reused, so a view that still
// holds the handle of a deleted list simply shows no images.
#pragma once

#include "platform/Object.h"
#include "platform/WinUser.h"

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

// Creation flags: ILC_MASK keeps a transparency mask; the colour depth
// flags are accepted (images keep their own depth here).
inline constexpr UINT ILC_MASK = 0x0001;
inline constexpr UINT ILC_COLOR = 0x0000;
inline constexpr UINT ILC_COLOR4 = 0x0004;
inline constexpr UINT ILC_COLOR8 = 0x0008;
inline constexpr UINT ILC_COLOR16 = 0x0010;
inline constexpr UINT ILC_COLOR24 = 0x0018;
inline constexpr UINT ILC_COLOR32 = 0x0020;

// No transparent colour.
inline constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

// Drawing styles of Draw: the transparent parts stay transparent in
// either case (ILD_NORMAL and ILD_TRANSPARENT draw alike here); the blend
// styles mix the image half (ILD_BLEND50, ILD_SELECTED) or a quarter
// (ILD_BLEND25, ILD_FOCUS) with the highlight colour; the overlay bits
// (INDEXTOOVERLAYMASK in ListCtrl.h) draw an overlay image on top.
inline constexpr UINT ILD_NORMAL = 0x0000;
inline constexpr UINT ILD_TRANSPARENT = 0x0001;
inline constexpr UINT ILD_BLEND25 = 0x0002;
inline constexpr UINT ILD_FOCUS = ILD_BLEND25;
inline constexpr UINT ILD_BLEND50 = 0x0004;
inline constexpr UINT ILD_SELECTED = ILD_BLEND50;
inline constexpr UINT ILD_OVERLAYMASK = 0x0F00;

class CDC;

class CImageList : public CObject {
public:
  CImageList() = default;
  // Deletes the list the object made.
  ~CImageList() override;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;

  // An empty list of cx x cy images with room for `initial` and growing by
  // `grow`. FALSE when the object already has a list or a size is not
  // positive.
  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  // A list from the bitmap resource `bitmapId`, cut into images `cx` pixels
  // wide (as many as fit) and as high as the bitmap; pixels of the colour
  // `mask` become transparent (CLR_NONE: none). FALSE when the object
  // already has a list, the bitmap is not registered or `cx` is not
  // positive.
  BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
  // Deletes the list; FALSE when there is none.
  BOOL DeleteImageList();

  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  // The object that made the list with that handle; null for a dead handle.
  static CImageList* FromHandle(HIMAGELIST handle);

  // Appends the icon, scaled to the list's image size; its index, -1 when
  // there is no list or no icon.
  int Add(HICON icon);
  int GetImageCount() const;
  // The size of one image; FALSE without a list.
  BOOL GetIconSize(int& cx, int& cy) const;

  // Draws image `index` with its top-left corner at `point` (client
  // coordinates of the surface) in the ILD_* style. FALSE without a list,
  // surface or such image.
  BOOL Draw(CDC* dc, int index, POINT point, UINT style);
  // Makes image `index` the overlay image number `overlay` (1 to 15), which
  // a style's overlay bits name. FALSE for a bad image or number.
  BOOL SetOverlayImage(int index, int overlay);
};
