// PreviewPolicy: what the previews of a run are to be, as its kind of
// pages wants them; worked out once at the start of the run. Internal to the
// scan library.
#pragma once

// What the previews of a run are to be, as its kind of pages wants them.
struct PreviewPolicy {
  int edge = 0;               // the preview's longer edge; 0: no previews
  bool phoneFormats = false;  // the phones' formats (HEIC, HEIF, AVIF) get previews too
  // The picture's digest, size, date and camera go into the record (its
  // third form), and are read for previews kept from a run without them.
  bool facts = false;
  bool findMoved = false;     // a new picture's preview is looked for by its digest elsewhere in the tree
  int renditionEdge = 0;      // the longer edge of renditions for the viewer; 0: none
  int largeEdge = 0;          // the longer edge of previews for 2x screens; 0: none
  bool videoPosters = false;  // videos (MP4, M4V, MOV, WebM) get posters as their previews, and their length
};
