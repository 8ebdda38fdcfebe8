// The data a gallery folder page hands its script: the folder's files as
// JSON in the page. Each file is an array whose places are named once, by
// the `fields` list the data carries; the script looks its places up by
// those names, and the kinds by the `kinds` list, so the two languages
// never share a number. Internal to the scan library.
#pragma once

#include <string>
#include <string_view>

#include "pages/gallery/GalleryModel.h"

namespace gallery {

// The names of a file's places in its array, in order. The last four are
// left out where they hold their defaults (see FolderData).
inline constexpr const char* kFields[] = {
    "name",         // as the file system spells it (U+FFFD for bytes that are not UTF-8)
    "kind",         // an index into kKinds
    "previewWidth", "previewHeight",  // a picture's preview, a video's poster
    "bytes",        // the file's size
    "date",         // date taken, else the file's time: "YYYY-MM-DD HH:MM:SS"; "" when unknown
    "taken",        // 1 when the date is the date taken
    "camera",       // "" when unknown
    "width", "height",  // the picture as shown; 0 when unknown
    "rendition",    // 1 when the viewer shows the rendition instead of the file
    "renditionWidth", "renditionHeight",
    "largeWidth", "largeHeight",  // the preview for 2x screens; 0 when there is none
    "duration",     // a video's length in milliseconds; 0 when unknown or not a video
    "link",         // the file's link where its name is not UTF-8, else 0
    "previewFile",  // the preview's, the rendition's and the large preview's links in the
    "renditionFile",  // preview folder, where a long name made them shorter than
    "largeFile",    // link + ".jpg", ".jpeg" and ".2x.jpg"
};
inline constexpr std::size_t kFieldCount = sizeof kFields / sizeof kFields[0];
// The names of the kinds, indexed by gallery::Kind.
inline constexpr const char* kKinds[] = {"picture", "unshown", "video", "file"};
static_assert(sizeof kKinds / sizeof kKinds[0] == static_cast<std::size_t>(Kind::File) + 1);

// The folder's files as data for the script: a <script type="application/json"
// id="ombral-folder"> element holding {"sort", "thumbs", "fields", "kinds", "items"}.
std::string FolderData(const Folder& folder, bool byDate);

// A JSON string literal of `text` that may stand inside a <script> element:
// quotes, backslashes, control characters, '<', '>', '&', U+2028 and U+2029
// escaped; a byte that is not part of valid UTF-8 shown as U+FFFD.
std::string JsonString(std::string_view text);
// `name` as a link a script can use unchanged: every byte but letters,
// digits and "-._~" percent-encoded.
std::string UrlPath(std::string_view name);
// Whether `text` is valid UTF-8 throughout.
bool IsUtf8(std::string_view text);

}  // namespace gallery
