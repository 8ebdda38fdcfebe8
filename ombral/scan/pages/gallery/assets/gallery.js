// Ombral's gallery pages: the windowed grid of a folder's pictures in
// justified rows, the viewer over the page, the search of the entry page and
// the interface texts in the reader's language. A classic script (no
// modules, no requests for data), so the pages work from file:// too.
(function () {
'use strict';
var d = document;

// The interface texts. A text with {0} and {1} takes values; a pair is the
// singular and the plural. The reader's first language we have wins.
var TEXTS = {
  en: {
    skip: 'Skip to the content', allFolders: 'All folders', breadcrumb: 'Breadcrumb', albums: 'Albums',
    pictures: 'Pictures', byDate: 'Pictures by date taken', search: 'Search the archive',
    searchHint: 'Names of pictures and folders', results: 'Search results', folders: 'Folders',
    madeWith: 'Made with Ombral by', titleAll: 'all folders',
    picture: ['picture', 'pictures'], video: ['video', 'videos'], file: ['other file', 'other files'],
    album: ['album', 'albums'], folder: ['folder', 'folders'], hit: ['file', 'files'], inFolders: '{0} in {1}',
    bytes: 'bytes', viewer: 'Picture viewer', prev: 'Previous picture', next: 'Next picture',
    close: 'Close the viewer', play: 'Start the slideshow', pause: 'Pause the slideshow', full: 'Full screen',
    leaveFull: 'Leave full screen', download: 'Download the original', taken: 'taken {0}', fileDate: 'file date {0}',
    position: '{0} of {1}', failed: 'This picture cannot be shown.', openFile: 'Open the file',
    iconVideo: 'Video', iconPicture: 'Picture', iconFile: 'File', loading: 'Loading the index\u2026',
    cannotPlay: 'This browser cannot play this video.', length: 'length {0}',
    loadFailed: 'The search index could not be loaded.',
    found: '{0} and {1} found', folderHit: 'Folder', inFolder: 'in {0}', atLeast: 'at least {0}\u2026',
    showMore: 'Show more'
  },
  de: {
    skip: 'Zum Inhalt springen', allFolders: 'Alle Ordner', breadcrumb: 'Ordnerpfad', albums: 'Alben',
    pictures: 'Bilder', byDate: 'Bilder nach Aufnahmedatum', search: 'Im Archiv suchen',
    searchHint: 'Namen von Bildern und Ordnern', results: 'Suchergebnisse', folders: 'Ordner',
    madeWith: 'Erstellt mit Ombral von', titleAll: 'alle Ordner',
    picture: ['Bild', 'Bilder'], video: ['Video', 'Videos'], file: ['andere Datei', 'andere Dateien'],
    album: ['Album', 'Alben'], folder: ['Ordner', 'Ordner'], hit: ['Datei', 'Dateien'], inFolders: '{0} in {1}',
    bytes: 'Bytes', viewer: 'Bildbetrachter', prev: 'Vorheriges Bild', next: 'N\u00E4chstes Bild',
    close: 'Betrachter schlie\u00DFen', play: 'Diaschau starten', pause: 'Diaschau anhalten', full: 'Vollbild',
    leaveFull: 'Vollbild verlassen', download: 'Original herunterladen', taken: 'aufgenommen {0}',
    fileDate: 'Dateidatum {0}', position: '{0} von {1}', failed: 'Dieses Bild kann nicht angezeigt werden.',
    openFile: 'Datei \u00F6ffnen', iconVideo: 'Video', iconPicture: 'Bild', iconFile: 'Datei',
    cannotPlay: 'Dieser Browser kann dieses Video nicht abspielen.', length: 'L\u00E4nge {0}',
    loading: 'Der Index wird geladen\u2026', loadFailed: 'Der Suchindex konnte nicht geladen werden.',
    found: '{0} und {1} gefunden', folderHit: 'Ordner',
    inFolder: 'in {0}', atLeast: 'mindestens {0}\u2026', showMore: 'Mehr zeigen'
  }
};
var wanted = navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || 'en'];
var lang = 'en', locale;
for (var w = 0; w < wanted.length; ++w) {
  var code = String(wanted[w]).slice(0, 2).toLowerCase();
  if (TEXTS[code]) { lang = code; break; }
}
// Numbers, dates and the order of names follow the reader's first language.
try { locale = Intl.NumberFormat.supportedLocalesOf(wanted[0]).length ? wanted[0] : undefined; } catch (e) { locale = undefined; }
function T(key) {
  var text = TEXTS[lang][key] || TEXTS.en[key], args = arguments;
  return typeof text !== 'string' ? text : text.replace(/\{(\d)\}/g, function (m, n) { return args[+n + 1]; });
}
function num(n) { return Number(n).toLocaleString(locale); }
function plural(n, key) { return num(n) + ' ' + T(key)[n === 1 ? 0 : 1]; }
function sizeText(n) {
  if (n < 1024) return num(n) + ' ' + T('bytes');
  var units = ['KB', 'MB', 'GB', 'TB'], u = -1;
  do { n /= 1024; ++u; } while (n >= 1024 && u < units.length - 1);
  return n.toLocaleString(locale, { minimumFractionDigits: 1, maximumFractionDigits: 1 }) + ' ' + units[u];
}
// "3 pictures · 1 video · 2 albums · 4.0 MB", from the numbers the page
// hands over in data attributes; "… in 7 folders" where it names them.
function countText(ds) {
  var parts = [plural(+ds.pictures || 0, 'picture')];
  [['videos', 'video'], ['files', 'file'], ['albums', 'album']].forEach(function (p) {
    if (+ds[p[0]]) parts.push(plural(+ds[p[0]], p[1]));
  });
  if (+ds.bytes) parts.push(sizeText(+ds.bytes));
  var text = parts.join(' \u00B7 ');
  return ds.folders != null ? T('inFolders', text, plural(+ds.folders, 'folder')) : text;
}
// The page's own texts: elements marked with the key of their text or
// label, and the counts.
function translate() {
  if (lang !== 'en') d.documentElement.lang = lang;
  [].forEach.call(d.querySelectorAll('[data-l10n]'), function (e) { e.textContent = T(e.dataset.l10n); });
  [].forEach.call(d.querySelectorAll('[data-l10n-label]'), function (e) { e.setAttribute('aria-label', T(e.dataset.l10nLabel)); });
  [].forEach.call(d.querySelectorAll('[data-l10n-hint]'), function (e) { e.placeholder = T(e.dataset.l10nHint); });
  [].forEach.call(d.querySelectorAll('[data-pictures]'), function (e) { e.textContent = countText(e.dataset); });
  if (d.body.classList.contains('entry')) d.title = d.querySelector('h1').textContent + ' \u00B7 ' + T('titleAll');
}

// A folder's files come as arrays from the page (JSON in #ombral-folder),
// whose places the data names in its "fields" list and whose kinds in its
// "kinds" list: F.name is the place of the name, K.video the kind of a video.
var F = {}, K = {}, thumbs = '';
function link(it) { return it[F.link] || encodeURIComponent(it[F.name]); }
function previewLink(it) { return thumbs + (it[F.previewFile] || link(it) + '.jpg'); }
function largeLink(it) { return thumbs + (it[F.largeFile] || link(it) + '.2x.jpg'); }
function renditionLink(it) { return thumbs + (it[F.renditionFile] || link(it) + '.jpeg'); }
function fileLink(it) { return it[F.rendition] ? renditionLink(it) : link(it); }
// Whether a browser shows the file itself (a rendition stands in for
// the others, and for pictures too large to send whole).
function webFile(it) { return /\.(jpe?g|png|gif|webp|bmp)$/i.test(it[F.name]); }
// What the viewer shows of it, and the largest picture a browser can show
// of it (the original where it can), each as [link, width].
function shownSource(it) { return it[F.rendition] ? [renditionLink(it), it[F.renditionWidth] || it[F.width]] : [link(it), it[F.width]]; }
function fullSource(it) { return webFile(it) && it[F.width] ? [link(it), it[F.width]] : shownSource(it); }
// A video's poster is its preview; its length is shown as 1:05 or 1:02:05.
function hasPoster(it) { return it[F.kind] === K.video && it[F.previewWidth] > 0; }
function clock(ms) {
  var t = Math.round(ms / 1000), h = Math.floor(t / 3600), m = Math.floor(t / 60) % 60, sec = t % 60;
  return (h ? h + ':' + (m < 10 ? '0' : '') : '') + m + ':' + (sec < 10 ? '0' : '') + sec;
}
// The type a browser is asked about before it is given a video.
function videoType(it) {
  var ext = /\.([^.]*)$/.exec(it[F.name]);
  ext = ext ? ext[1].toLowerCase() : '';
  return ext === 'webm' ? 'video/webm' : ext === 'mov' ? 'video/quicktime' : 'video/mp4';
}
function el(tag, cls, text) {
  var e = d.createElement(tag);
  if (cls) e.className = cls;
  if (text != null) e.textContent = text;
  return e;
}
function bdi(text) { return el('bdi', null, text); }
// Icons drawn in the text's colour.
var ICONS = {
  prev: '<path d="M15 5l-7 7 7 7"/>', next: '<path d="M9 5l7 7-7 7"/>', close: '<path d="M6 6l12 12M18 6L6 18"/>',
  play: '<path d="M8 5v14l11-7z" fill="currentColor"/>', pause: '<path d="M7 5h3v14H7zM14 5h3v14h-3z" fill="currentColor"/>',
  full: '<path d="M4 9V4h5M15 4h5v5M20 15v5h-5M9 20H4v-5"/>', leaveFull: '<path d="M9 4v5H4M20 9h-5V4M15 20v-5h5M4 15h5v5"/>',
  download: '<path d="M12 4v11M7 10l5 5 5-5M5 20h14"/>'
};
function icon(e, name) {
  e.innerHTML = '<svg viewBox="0 0 24 24" width="24" height="24" aria-hidden="true" focusable="false" fill="none" ' +
    'stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">' + ICONS[name] + '</svg>';
}
// A "YYYY-MM-DD HH:MM:SS" of the data as the reader writes dates.
function dateText(text) {
  var p = text.split(/[- :]/).map(Number);
  try {
    return new Intl.DateTimeFormat(locale, { dateStyle: 'medium', timeStyle: 'short' })
      .format(new Date(p[0], p[1] - 1, p[2], p[3] || 0, p[4] || 0, p[5] || 0));
  } catch (e) { return text; }
}
function reducedMotion() { return !!(window.matchMedia && matchMedia('(prefers-reduced-motion: reduce)').matches); }

// The grid: the folder's files in rows of equal height that fill the width,
// each tile as wide as its picture's shape asks. The rows are worked out
// once per width; only the rows on screen and half a screen around them are
// drawn, each tile placed where it belongs in a list as high as all rows.
// A tile that holds the focus stays drawn when its row leaves the screen
// (it alone), so the range never grows with the focus.
function Grid(ul, items, onOpen) {
  var n = items.length, ratio = new Float64Array(n), x = new Float64Array(n), wide = new Float64Array(n);
  var rowOf = new Int32Array(n), starts = [], tops = [], heights = [], width = -1, version = 0;
  var nodes = new Map(), range = [0, 0, -1, -1], queued = false;
  for (var i = 0; i < n; ++i) ratio[i] = shape(items[i]);
  function shape(it) {
    var k = it[F.kind], r = k === K.video ? 16 / 9 : k === K.file ? 1 : 4 / 3;
    if ((k === K.picture || k === K.video) && it[F.previewWidth] > 0 && it[F.previewHeight] > 0) r = it[F.previewWidth] / it[F.previewHeight];
    else if (k === K.unshown && it[F.width] > 0 && it[F.height] > 0) r = it[F.width] / it[F.height];
    // A sliver of a picture would be a tile no finger can hit.
    return Math.max(1 / 3, r);
  }
  function layout() {
    var W = Math.max(ul.clientWidth, 120), phone = W < 560;
    // Phones: rows of about four 4:3 photos; wider screens: rows near 200 px.
    var H = phone ? W / 5 : Math.min(260, Math.max(150, W / 6.5)), gap = phone ? 4 : 8, top = 0, s = 0;
    width = ul.clientWidth;
    starts = []; tops = []; heights = [];
    while (s < n) {
      var sum = 0, e = s, h = H, full = false;
      for (; e < n; ++e) {
        sum += ratio[e];
        var c = e - s + 1, hWith = (W - gap * (c - 1)) / sum;
        if (hWith <= H) {
          // The row reaches the width: with this tile it is lower, without
          // it higher than wished; the smaller change wins.
          var without = c > 1 ? (W - gap * (c - 2)) / (sum - ratio[e]) : Infinity;
          if (without / H < H / hWith) { h = without; } else { h = hWith; ++e; }
          full = true;
          break;
        }
      }
      // The last row keeps the wished height, unstretched.
      if (!full) h = H;
      starts.push(s); tops.push(top); heights.push(h);
      for (var at = 0, j = s; j < e; ++j) {
        x[j] = at; wide[j] = ratio[j] * h; rowOf[j] = starts.length - 1;
        at += wide[j] + gap;
      }
      top += h + gap;
      s = e;
    }
    starts.push(n);
    ul.style.height = Math.max(0, top - gap) + 'px';
    ++version;
  }
  function place(li, i) {
    var r = rowOf[i], s = li.style;
    s.left = x[i] + 'px'; s.top = tops[r] + 'px'; s.width = wide[i] + 'px'; s.height = heights[r] + 'px';
    li.dataset.v = version;
    var img = li.firstChild.firstChild;
    if (img && img.tagName === 'IMG') sources(img, items[i], wide[i]);
  }
  // The preview, the one for 2x screens, and where a tile is wider than
  // both (a panorama across a row) the largest picture the browser shows.
  function sources(img, it, tileWidth) {
    var set = [], pw = it[F.previewWidth], biggest = pw;
    if (it[F.largeWidth] > 0) { set.push(largeLink(it) + ' ' + it[F.largeWidth] + 'w'); biggest = it[F.largeWidth]; }
    var big = it[F.kind] === K.video ? ['', 0] : shownSource(it);
    if (tileWidth > biggest && big[1] > biggest && (it[F.rendition] || it[F.bytes] < 8388608)) set.push(big[0] + ' ' + big[1] + 'w');
    if (set.length) {
      img.sizes = Math.ceil(tileWidth) + 'px';
      img.srcset = previewLink(it) + ' ' + pw + 'w, ' + set.join(', ');
    } else if (img.srcset) {
      img.removeAttribute('srcset');
      img.removeAttribute('sizes');
    }
  }
  function tile(i) {
    var it = items[i], li = el('li'), a = el('a'), kind = it[F.kind], img = null;
    li.setAttribute('aria-posinset', i + 1);
    li.setAttribute('aria-setsize', n);
    a.href = kind === K.file ? link(it) : fileLink(it);
    a.dataset.i = i;
    var name = el('span', 'name', it[F.name]);
    name.dir = 'auto';
    if (kind === K.picture || hasPoster(it)) {
      // The picture's alt names the link; the name drawn over it on hover
      // and focus is for the eyes only.
      img = el('img');
      img.alt = it[F.name];
      img.width = it[F.previewWidth];
      img.height = it[F.previewHeight];
      img.decoding = 'async';
      a.appendChild(img);
      name.setAttribute('aria-hidden', 'true');
      a.className = kind === K.video ? 'pic video' : 'pic';
      // A video's poster carries its length (or just the play sign).
      if (kind === K.video) {
        var badge = el('span', 'length', it[F.duration] > 0 ? clock(it[F.duration]) : '');
        badge.setAttribute('aria-hidden', 'true');
        a.appendChild(badge);
      }
    } else {
      a.className = kind === K.video ? 'other video' : 'other';
      a.appendChild(el('span', 'icon', T(kind === K.video ? 'iconVideo' : kind === K.unshown ? 'iconPicture' : 'iconFile')));
    }
    a.appendChild(name);
    li.appendChild(a);
    // Sizes and sources first, so the browser picks before it fetches.
    place(li, i);
    if (img) img.src = previewLink(it);
    return li;
  }
  function rowAt(y) {  // the first row whose bottom lies below y
    var lo = 0, hi = tops.length;
    while (lo < hi) { var mid = (lo + hi) >> 1; if (tops[mid] + heights[mid] < y) lo = mid + 1; else hi = mid; }
    return lo;
  }
  function render() {
    queued = false;
    if (ul.clientWidth !== width) layout();
    var top = ul.getBoundingClientRect().top, margin = innerHeight / 2;
    var r0 = rowAt(-top - margin), r1 = Math.min(tops.length, rowAt(innerHeight - top + margin) + 1);
    var a = starts[Math.min(r0, tops.length)], b = starts[r1];
    var focused = d.activeElement && ul.contains(d.activeElement) ? +d.activeElement.closest('li').firstChild.dataset.i : -1;
    if (focused >= a && focused < b) focused = -1;
    if (a === range[0] && b === range[1] && focused === range[2] && version === range[3]) return;
    range = [a, b, focused, version];
    // Tiles that left go; those that stay are not touched (the focus stays
    // put) but moved when the rows changed; new ones come in list order.
    nodes.forEach(function (li, i) {
      if ((i < a || i >= b) && i !== focused) { ul.removeChild(li); nodes.delete(i); }
      else if (+li.dataset.v !== version) place(li, i);
    });
    var want = [];
    if (focused >= 0 && focused < a) want.push(focused);
    for (var i = a; i < b; ++i) want.push(i);
    if (focused >= b) want.push(focused);
    var cursor = ul.firstChild;
    want.forEach(function (i) {
      var li = nodes.get(i);
      if (li) { cursor = li.nextSibling; return; }
      li = tile(i);
      nodes.set(i, li);
      ul.insertBefore(li, cursor);
    });
  }
  function later() { if (!queued) { queued = true; requestAnimationFrame(render); } }
  ul.addEventListener('click', function (e) {
    var a = e.target.closest('a[data-i]');
    // A click with a modifier opens the file as the browser does.
    if (!a || e.button || e.metaKey || e.ctrlKey || e.shiftKey || e.altKey) return;
    if (items[+a.dataset.i][F.kind] === K.file) return;
    e.preventDefault();
    onOpen(+a.dataset.i, a);
  });
  // The focus leaving a tile off screen lets it go.
  ul.addEventListener('focusout', later);
  // Tab walks the tiles in order, drawn or not yet.
  ul.addEventListener('keydown', function (e) {
    var a = e.target.closest('a[data-i]'), j = a ? +a.dataset.i + (e.shiftKey ? -1 : 1) : -1;
    if (e.key !== 'Tab' || e.ctrlKey || e.altKey || e.metaKey || j < 0 || j >= n) return;
    e.preventDefault();
    focusTile(j);
  });
  addEventListener('scroll', later, { passive: true });
  // A change of height alone (a phone's address bar) draws rows, never lays
  // them out again; a change of width does.
  addEventListener('resize', later);
  if (window.ResizeObserver) new ResizeObserver(function () { if (ul.clientWidth !== width) later(); }).observe(ul);
  // Brings item i on screen and gives its tile the focus.
  function focusTile(i) {
    if (ul.clientWidth !== width) layout();
    var r = rowOf[i], top = ul.getBoundingClientRect().top + scrollY + tops[r];
    if (top < scrollY || top + heights[r] > scrollY + innerHeight) scrollTo(0, top - (innerHeight - heights[r]) / 2);
    render();
    var li = nodes.get(i);
    if (li) li.firstChild.focus();
  }
  render();
  return { focus: focusTile };
}

// The viewer: a dialog over the page with one picture or video, paged with
// the arrow keys, Home and End, a swipe or its buttons; zoomed with the
// wheel, a pinch, a double tap and + - 0, panned by dragging; full screen
// and a slideshow. The address names the picture, so the browser's back
// button closes it and a link can point at one picture.
function Viewer(items, grid) {
  var box = el('div', 'viewer'), bar = el('div', 'bar'), stage = el('div', 'stage'), caption = el('p', 'caption');
  var live = el('div', 'sr'), prev = el('button', 'prev'), next = el('button', 'next'), close = el('button', 'close');
  var play = el('button', 'play'), full = el('button', 'full'), save = el('a', 'save');
  var current = -1, opener = null, pushed = false, shown = [], slide = null, timer = 0, hush = 0, fitted = '';
  for (var n = 0; n < items.length; ++n) if (items[n][F.kind] !== K.file) shown.push(n);
  box.hidden = true;
  box.tabIndex = -1;
  box.setAttribute('role', 'dialog');
  box.setAttribute('aria-modal', 'true');
  box.setAttribute('aria-label', T('viewer'));
  caption.id = 'ombral-caption';
  box.setAttribute('aria-describedby', caption.id);
  live.setAttribute('aria-live', 'polite');
  function label(b, key, keys, iconName) {
    b.setAttribute('aria-label', T(key));
    b.title = T(key) + (keys ? ' (' + keys + ')' : '');
    if (keys) b.setAttribute('aria-keyshortcuts', keys);
    icon(b, iconName || key);
  }
  [prev, next, close, play, full].forEach(function (b) { b.type = 'button'; });
  label(prev, 'prev', 'ArrowLeft'); label(next, 'next', 'ArrowRight'); label(close, 'close', 'Escape');
  label(play, 'play', 'Space'); label(full, 'full', 'F'); label(save, 'download');
  var canFull = !!(box.requestFullscreen || box.webkitRequestFullscreen);
  full.hidden = !canFull;
  bar.append(play, full, save, close);
  box.append(stage, prev, next, caption, bar, live);
  d.body.appendChild(box);

  // One picture on the stage: its slide (moved by a swipe) holding the img
  // (placed and scaled by the zoom). s is the zoom, tx and ty the pan.
  function Slide(i) {
    var it = items[i], v = { it: it, el: el('div', 'slide'), img: null, w: 0, h: 0, x0: 0, y0: 0, s: 1, tx: 0, ty: 0, max: 1, fuller: false };
    if (it[F.kind] === K.video) {
      var m = el('video');
      // What the browser cannot play shows its poster and offers the file.
      // A MOV is mostly the same coding as an MP4, so that is tried too; a
      // failure to play shows the same.
      var offer = function () {
        v.el.textContent = '';
        if (hasPoster(it)) {
          var still = el('img', 'poster');
          still.alt = it[F.name];
          still.src = it[F.largeWidth] > 0 ? largeLink(it) : previewLink(it);
          v.el.appendChild(still);
        }
        var p = el('p', 'failed', T('cannotPlay') + ' '), a = el('a', null, T('openFile'));
        a.href = link(it);
        p.appendChild(a);
        v.el.appendChild(p);
      };
      var type = videoType(it);
      if (!m.canPlayType(type) && !(type === 'video/quicktime' && m.canPlayType('video/mp4'))) { offer(); return v; }
      m.controls = true;
      m.preload = 'metadata';
      m.setAttribute('playsinline', '');
      if (hasPoster(it)) m.poster = it[F.largeWidth] > 0 ? largeLink(it) : previewLink(it);
      m.onerror = offer;
      m.src = link(it);
      v.el.appendChild(m);
      return v;
    }
    var img = v.img = el('img');
    img.alt = it[F.name];
    img.draggable = false;
    // The preview stands in until the picture has come.
    if (it[F.kind] === K.picture) img.style.backgroundImage = 'url("' + previewLink(it) + '")';
    img.onload = function () { img.classList.add('loaded'); img.style.backgroundImage = ''; if (!it[F.width]) fit(v); };
    img.onerror = function () {
      if (img.dataset.full) { img.src = img.dataset.shown; return; }  // the original failed: the rendition stays
      v.el.textContent = '';
      v.img = null;
      var p = el('p', 'failed', T('failed') + ' '), a = el('a', null, T('openFile'));
      a.href = link(it);
      p.appendChild(a);
      v.el.appendChild(p);
    };
    img.src = img.dataset.shown = fileLink(it);
    v.el.appendChild(img);
    return v;
  }
  function fit(v) {
    if (!v.img) return;
    var it = v.it, W = stage.clientWidth, H = stage.clientHeight;
    fitted = W + 'x' + H;
    var w = it[F.width] || v.img.naturalWidth || it[F.previewWidth] || 1, h = it[F.height] || v.img.naturalHeight || it[F.previewHeight] || 1;
    var f = Math.min(W / w, H / h, 1);
    v.w = w * f; v.h = h * f; v.x0 = (W - v.w) / 2; v.y0 = (H - v.h) / 2;
    v.s = 1; v.tx = v.ty = 0;
    // Zoomed in up to the pixels of the original.
    v.max = Math.max(1, (fullSource(it)[1] || w) / v.w);
    v.img.style.width = v.w + 'px';
    v.img.style.height = v.h + 'px';
    apply(v);
  }
  function apply(v) {
    if (!v.img) return;
    var W = stage.clientWidth, H = stage.clientHeight, sw = v.w * v.s, sh = v.h * v.s;
    // Centred while smaller than the stage, else no edge moves inside it.
    v.tx = sw <= W ? (W - sw) / 2 - v.x0 : Math.min(-v.x0, Math.max(W - sw - v.x0, v.tx));
    v.ty = sh <= H ? (H - sh) / 2 - v.y0 : Math.min(-v.y0, Math.max(H - sh - v.y0, v.ty));
    v.img.style.transform = 'translate(' + (v.x0 + v.tx) + 'px,' + (v.y0 + v.ty) + 'px) scale(' + v.s + ')';
    box.classList.toggle('zoomed', v.s > 1.001);
    box.dataset.zoom = v.s.toFixed(3);
    // Past the rendition's pixels the original comes, where a browser shows it.
    var src = fullSource(v.it);
    if (!v.fuller && src[0] !== v.img.dataset.shown && v.s * v.w * (window.devicePixelRatio || 1) > (shownSource(v.it)[1] || v.w) * 1.1) {
      v.fuller = true;
      var big = new Image();
      big.onload = function () { if (slide === v && v.img) { v.img.dataset.full = 1; v.img.src = src[0]; } };
      big.src = src[0];
    }
  }
  // Zooms to s keeping the picture's point under (px, py) of the stage where it is.
  function zoomTo(s, px, py) {
    var v = slide;
    if (!v || !v.img) return;
    if (px == null) { px = stage.clientWidth / 2; py = stage.clientHeight / 2; }
    s = Math.min(v.max, Math.max(1, s));
    var qx = (px - v.x0 - v.tx) / v.s, qy = (py - v.y0 - v.ty) / v.s;
    v.tx = px - v.x0 - s * qx; v.ty = py - v.y0 - s * qy; v.s = s;
    apply(v);
  }
  function move(e, dx, animate) {
    e.classList.toggle('moving', !!animate);
    e.style.transform = dx ? 'translateX(' + dx + 'px)' : '';
  }
  function describe(i) {
    var it = items[i], at = shown.indexOf(i) + 1, facts = [];
    caption.textContent = '';
    var name = el('strong');
    name.appendChild(bdi(it[F.name]));
    caption.appendChild(name);
    if (it[F.date]) {
      var time = el('time', null, dateText(it[F.date])), words = T(it[F.taken] ? 'taken' : 'fileDate', '\u0000').split('\u0000');
      time.dateTime = it[F.date].replace(' ', 'T');
      var span = el('span', null, words[0]);
      span.append(time, words[1]);
      facts.push(span);
    }
    if (it[F.camera]) facts.push(it[F.camera]);
    if (it[F.width]) facts.push(it[F.width] + ' \u00D7 ' + it[F.height]);
    if (it[F.duration] > 0) facts.push(T('length', clock(it[F.duration])));
    facts.push(sizeText(it[F.bytes]), T('position', num(at), num(shown.length)));
    facts.forEach(function (f) { caption.append(' \u00B7 ', f); });
    save.href = link(it);
    save.setAttribute('download', '');
    prev.disabled = at <= 1;
    next.disabled = at >= shown.length;
  }
  // Shows item i; dir (1 or -1) slides it in from that side, the one
  // before leaving to the other.
  function show(i, dir) {
    var old = slide;
    current = i;
    slide = Slide(i);
    stage.insertBefore(slide.el, stage.firstChild);
    fit(slide);
    if (old) {
      var v = old.el.querySelector('video');
      if (v) v.pause();
      old.el.classList.add('leaving');
      old.el.setAttribute('aria-hidden', 'true');
      if (dir && !reducedMotion()) {
        var W = stage.clientWidth;
        move(old.el, -dir * W, true);
        move(slide.el, dir * W, false);
        void slide.el.offsetWidth;
        move(slide.el, 0, true);
        setTimeout(function () { old.el.remove(); }, 300);
      } else {
        old.el.remove();
        if (!reducedMotion()) slide.el.classList.add('fade');
      }
    }
    describe(i);
    // The pictures either side are loaded while this one is looked at.
    var at = shown.indexOf(i);
    [shown[at - 1], shown[at + 1]].forEach(function (j) {
      if (j != null && items[j][F.kind] !== K.video) new Image().src = fileLink(items[j]);
    });
  }
  function address(i, push) {
    var hash = '#' + encodeURIComponent(items[i][F.name]);
    // Some browsers refuse history entries for file:// pages: the hash alone then.
    try {
      if (push) { history.pushState({ ombral: i }, '', hash); pushed = true; }
      else history.replaceState({ ombral: i }, '', hash);
    } catch (e) {
      if (push) location.hash = hash; else location.replace(hash);
    }
  }
  // Everything but the viewer is out of reach while it is open.
  function background(off) {
    [].forEach.call(d.body.children, function (c) { if (c !== box && c.tagName !== 'SCRIPT') c.toggleAttribute('inert', off); });
  }
  function open(i, from, push) {
    opener = from || d.activeElement;
    if (current < 0) { box.hidden = false; d.body.classList.add('viewing'); background(true); }
    show(i, 0);
    address(i, push);
    box.focus();
  }
  function hide() {
    if (current < 0) return;
    var was = current;
    current = -1;
    pushed = false;
    pause();
    if ((d.fullscreenElement || d.webkitFullscreenElement) === box) fullScreen();
    stage.textContent = '';
    slide = null;
    box.hidden = true;
    background(false);
    d.body.classList.remove('viewing');
    if (opener && opener.isConnected && opener.dataset && +opener.dataset.i === was) opener.focus();
    else grid.focus(was);
  }
  function shut() {
    if (pushed) { pushed = false; history.back(); return; }  // the popstate hides it
    hide();
    try { history.replaceState(null, '', location.pathname + location.search); } catch (e) { location.hash = ''; }
  }
  function go(i, dir) {
    if (i === current) { if (slide) move(slide.el, 0, !reducedMotion()); return; }
    show(i, dir);
    address(i, false);
    live.textContent = T('position', num(shown.indexOf(i) + 1), num(shown.length)) + ': ' + items[i][F.name];
  }
  function step(by) {
    var at = Math.max(0, Math.min(shown.length - 1, shown.indexOf(current) + by));
    go(shown[at], Math.abs(by) === 1 ? by : 0);
  }
  // The slideshow: a picture every four seconds, round and round; any
  // other use of the viewer pauses it.
  function pause() {
    if (!timer) return;
    clearInterval(timer);
    timer = 0;
    label(play, 'play', 'Space');
  }
  function slideshow() {
    if (timer) { pause(); return; }
    timer = setInterval(function () { go(shown[(shown.indexOf(current) + 1) % shown.length], 1); }, 4000);
    label(play, 'pause', 'Space');
  }
  function fullScreen() {
    var asked = d.fullscreenElement || d.webkitFullscreenElement ? (d.exitFullscreen || d.webkitExitFullscreen).call(d)
      : (box.requestFullscreen || box.webkitRequestFullscreen).call(box);
    if (asked && asked.catch) asked.catch(function () {});
  }
  // A new size of the stage fits the picture anew (and ends a zoom); a
  // resize that leaves the stage as it was keeps it.
  function refit() { if (slide && stage.clientWidth + 'x' + stage.clientHeight !== fitted) fit(slide); }
  ['fullscreenchange', 'webkitfullscreenchange'].forEach(function (type) {
    d.addEventListener(type, function () {
      var on = (d.fullscreenElement || d.webkitFullscreenElement) === box;
      box.classList.toggle('full', on);
      label(full, on ? 'leaveFull' : 'full', 'F');
      refit();
    });
  });
  addEventListener('resize', refit);
  // The picture for the address: decoded, or where the address holds a
  // bare '%', each run of escapes decoded that can be.
  function fromAddress() {
    var raw = location.hash.slice(1), name;
    try { name = decodeURIComponent(raw); } catch (e) {
      name = raw.replace(/(%[0-9a-f]{2})+/gi, function (run) { try { return decodeURIComponent(run); } catch (x) { return run; } });
    }
    for (var i = 0; i < items.length; ++i) if (items[i][F.kind] !== K.file && (items[i][F.name] === name || items[i][F.name] === raw)) return i;
    return -1;
  }
  function follow() {
    var i = fromAddress();
    if (i >= 0 && i !== current) { if (current < 0) open(i, null, false); else show(i, 0); }
    else if (i < 0) hide();
  }
  prev.onclick = function () { pause(); step(-1); };
  next.onclick = function () { pause(); step(1); };
  close.onclick = shut;
  play.onclick = slideshow;
  full.onclick = fullScreen;
  box.addEventListener('keydown', function (e) {
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    var t = e.target, control = t !== box && !!t.closest('button, a, video'), video = t.tagName === 'VIDEO';
    var keys = { ArrowLeft: -1, ArrowRight: 1, Home: -shown.length, End: shown.length };
    var zooms = { '+': 1.5, '=': 1.5, '-': 1 / 1.5, '_': 1 / 1.5 };
    if (e.key !== ' ' && e.key !== 'f' && e.key !== 'F' && e.key !== 'Tab') pause();
    if (e.key === 'Escape') { e.preventDefault(); shut(); }
    else if (e.key in keys && !video) { e.preventDefault(); step(keys[e.key]); }
    else if (e.key in zooms && slide) { e.preventDefault(); zoomTo(slide.s * zooms[e.key]); }
    else if (e.key === '0' && slide) { e.preventDefault(); zoomTo(1); }
    else if ((e.key === 'f' || e.key === 'F') && canFull && !video) { e.preventDefault(); fullScreen(); }
    else if (e.key === ' ' && !control) { e.preventDefault(); slideshow(); }
    else if (e.key === 'Tab') {
      // The focus stays in the dialog.
      var all = [].filter.call(box.querySelectorAll('button, a[href], video'), function (b) {
        return !b.disabled && !b.hidden && !b.closest('.leaving');
      });
      var at = all.indexOf(d.activeElement);
      e.preventDefault();
      all[at < 0 ? (e.shiftKey ? all.length - 1 : 0) : (at + (e.shiftKey ? all.length - 1 : 1)) % all.length].focus();
    }
  });

  // Fingers and the mouse on the stage: one pointer drags (the picture
  // while zoomed, else the slide, which pages when let go far enough), two
  // pinch; two taps zoom in or back; a tap beside the picture closes.
  var pointers = new Map(), gesture = null, lastTap = null, pressed = null;
  function spread() {
    var p = Array.from(pointers.values());
    return { d: Math.hypot(p[1].x - p[0].x, p[1].y - p[0].y) || 1, x: (p[0].x + p[1].x) / 2, y: (p[0].y + p[1].y) / 2 };
  }
  function begin() {
    var v = slide, r = stage.getBoundingClientRect(), p = Array.from(pointers.values());
    if (!v || !p.length) { gesture = null; return; }
    gesture = { s: v.s, tx: v.tx, ty: v.ty, left: r.left, top: r.top, x: p[0].x, y: p[0].y, moved: pointers.size > 1 };
    if (pointers.size > 1) gesture.pinch = spread();
  }
  stage.addEventListener('pointerdown', function (e) {
    // Held by the stage from here on, the pointer's clicks land on the
    // stage: what it was pressed on tells a tap beside the picture.
    pressed = e.target;
    if (!slide || e.target.closest('video, a') || e.button) return;
    pause();
    try { stage.setPointerCapture(e.pointerId); } catch (x) { /* a pointer the browser no longer knows */ }
    pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    begin();
  });
  stage.addEventListener('pointermove', function (e) {
    if (!pointers.has(e.pointerId) || !gesture) return;
    pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    var g = gesture, v = slide;
    if (g.pinch && pointers.size > 1) {
      var now = spread(), s = Math.min(v.max, Math.max(1, g.s * now.d / g.pinch.d));
      var qx = (g.pinch.x - g.left - v.x0 - g.tx) / g.s, qy = (g.pinch.y - g.top - v.y0 - g.ty) / g.s;
      v.s = s; v.tx = now.x - g.left - v.x0 - s * qx; v.ty = now.y - g.top - v.y0 - s * qy;
      apply(v);
      return;
    }
    var dx = e.clientX - g.x, dy = e.clientY - g.y;
    if (Math.abs(dx) > 6 || Math.abs(dy) > 6) g.moved = true;
    if (v.s > 1.001) { v.tx = g.tx + dx; v.ty = g.ty + dy; apply(v); }
    else if (g.moved && Math.abs(dx) > Math.abs(dy)) move(v.el, dx, false);
  });
  function release(e) {
    if (!pointers.delete(e.pointerId) || !gesture) return;
    var g = gesture, v = slide, dx = e.clientX - g.x, dy = e.clientY - g.y;
    if (g.pinch) { if (pointers.size) begin(); else gesture = null; hush = Date.now() + 400; return; }
    gesture = null;
    if (!v || e.type === 'pointercancel') { if (v) move(v.el, 0, false); return; }
    var moved = g.moved || Math.abs(dx) > 6 || Math.abs(dy) > 6;
    if (moved) {
      hush = Date.now() + 400;
      if (v.s <= 1.001) {
        if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy)) step(dx < 0 ? 1 : -1);
        else move(v.el, 0, !reducedMotion());
      }
      return;
    }
    // A second tap on the picture soon after the first, near it: zoom.
    var t = Date.now();
    if (lastTap && t - lastTap.t < 350 && Math.hypot(e.clientX - lastTap.x, e.clientY - lastTap.y) < 30 && v.img && e.target === v.img) {
      lastTap = null;
      hush = t + 400;
      zoomTo(v.s > 1.001 ? 1 : Math.min(v.max, 2.5), e.clientX - g.left, e.clientY - g.top);
    } else {
      lastTap = { t: t, x: e.clientX, y: e.clientY };
    }
  }
  stage.addEventListener('pointerup', release);
  stage.addEventListener('pointercancel', release);
  stage.addEventListener('wheel', function (e) {
    if (!slide || !slide.img) return;
    e.preventDefault();
    pause();
    var r = stage.getBoundingClientRect(), dy = e.deltaY * (e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? 400 : 1);
    zoomTo(slide.s * Math.exp(-dy * (e.ctrlKey ? 0.01 : 0.002)), e.clientX - r.left, e.clientY - r.top);
  }, { passive: false });
  stage.addEventListener('click', function (e) {
    if (Date.now() < hush) return;
    if (pressed && (pressed === stage || pressed.classList.contains('slide'))) shut();
  });
  addEventListener('popstate', follow);
  addEventListener('hashchange', follow);
  // The rest of the page, parsed after the script ran, is out of reach too.
  d.addEventListener('DOMContentLoaded', function () { if (current >= 0) background(true); });
  return { open: function (i, from) { open(i, from, true); }, follow: follow };
}

function folderPage(data) {
  var ul = d.getElementById('grid');
  if (!ul || !data) return;
  data.fields.forEach(function (name, i) { F[name] = i; });
  data.kinds.forEach(function (name, i) { K[name] = i; });
  thumbs = data.thumbs;
  var items = data.items;
  // Names in the reader's order, numbers by their value ("2" before "10");
  // the order of dates stays as it came.
  if (data.sort === 'name') {
    var collator = new Intl.Collator(locale, { numeric: true }), name = F.name;
    var compare = function (a, b) { return collator.compare(a[name], b[name]) || (a[name] < b[name] ? -1 : a[name] > b[name] ? 1 : 0); };
    for (var i = 1; i < items.length; ++i) if (compare(items[i - 1], items[i]) > 0) { items.sort(compare); break; }
  }
  var viewer = null;
  var grid = Grid(ul, items, function (i, from) { viewer.open(i, from); });
  viewer = Viewer(items, grid);
  viewer.follow();
}

// The search. Names and queries are compared in one folded form: the steps
// of platform/SearchFold.h, which the scan takes with ICU, here with the
// browser's own functions, so "cafe" finds "Café", "istanbul" "İstanbul"
// and an "é" typed finds one stored decomposed.
function fold(text) {
  return text.normalize('NFD').toLowerCase().toUpperCase().toLowerCase().replace(/\u03C2/g, '\u03C3')
    .normalize('NFD').replace(/\p{Mn}/gu, '').normalize('NFC');
}
// The words of a query, folded; a word inside another one adds nothing.
function queryWords(text) {
  var words = fold(text).split(/\s+/).filter(function (w, i, all) { return w && all.indexOf(w) === i; });
  return words.filter(function (w) { return !words.some(function (o) { return o !== w && o.indexOf(w) >= 0; }); });
}
// The grams the index holds for a word: the word itself when it has three
// characters or fewer, else its runs of three.
function wordGrams(word) {
  var c = Array.from(word), grams = [];
  if (c.length <= 3) return [word];
  for (var i = 0; i + 3 <= c.length; ++i) if (grams.indexOf(c[i] + c[i + 1] + c[i + 2]) < 0) grams.push(c[i] + c[i + 1] + c[i + 2]);
  return grams;
}
function gramHash(gram) {
  var h = 2166136261;
  for (var c of gram) h = Math.imul(h ^ c.codePointAt(0), 16777619) >>> 0;
  return h;
}
// A list: per entry its id, then the places its gram starts at in the
// entry's folded text; numbers in base-64 digits of five bits, 32 added to
// all but a number's last. An id is the distance to the id before, less
// one; a place the distance to the place before, less one, doubled, plus
// one when another place of the entry follows.
var DIGITS = new Int8Array(128).fill(-1);
'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_'.split('').forEach(function (c, i) { DIGITS[c.charCodeAt(0)] = i; });
function decodeList(text) {
  var ids = [], at = [], id = -1, v = 0, places = null, place = -1;
  for (var i = 0; i < text.length; ++i) {
    var x = DIGITS[text.charCodeAt(i)];
    v = v * 32 + (x & 31);
    if (x >= 32) continue;
    if (!places) { id += v + 1; ids.push(id); places = []; place = -1; }
    else {
      place += Math.floor(v / 2) + 1;
      places.push(place);
      if (v % 2 === 0) { at.push(places); places = null; }
    }
    v = 0;
  }
  return { ids: ids, at: at };
}
// The ids of the entries in which every run of `runs` ({list, at}) starts
// `at` characters after one common place: the entries holding the text the
// runs spell where they are laid side by side.
function joinRuns(runs) {
  runs = runs.slice().sort(function (a, b) { return a.list.ids.length - b.list.ids.length; });
  var ids = runs[0].list.ids, starts = null;
  for (var k = 1; k < runs.length; ++k) {
    var b = runs[k], nIds = [], nStarts = [], i = 0, j = 0, bIds = b.list.ids;
    while (i < ids.length && j < bIds.length) {
      if (ids[i] < bIds[j]) { ++i; continue; }
      if (ids[i] > bIds[j]) { ++j; continue; }
      var from = starts ? starts[i] : runs[0].list.at[i].map(function (p) { return p - runs[0].at; }), keep = [];
      for (var n = 0; n < from.length; ++n) if (b.list.at[j].indexOf(from[n] + b.at) >= 0) keep.push(from[n]);
      if (keep.length) { nIds.push(ids[i]); nStarts.push(keep); }
      ++i; ++j;
    }
    ids = nIds; starts = nStarts;
  }
  return ids;
}
// The cheapest runs ({at, len, size}: the lists' lengths) that together
// cover every character of a word of `length` characters, or null. `runs`
// come in the order of their places in the word.
function coverRuns(runs, length) {
  var cost = [0], came = [];
  for (var e = 1; e <= length; ++e) cost.push(Infinity);
  runs.forEach(function (r) {
    var end = r.at + r.len;
    for (var e = r.at; e < end; ++e) {
      if (cost[e] + r.size < cost[end]) { cost[end] = cost[e] + r.size; came[end] = { run: r, from: e }; }
    }
  });
  if (cost[length] === Infinity) return null;
  var picked = [];
  for (var end = length; end > 0; end = came[end].from) picked.push(came[end].run);
  return picked;
}
function intersect(a, b) {
  var out = [], i = 0, j = 0;
  while (i < a.length && j < b.length) {
    if (a[i] < b[j]) ++i; else if (a[i] > b[j]) ++j; else { out.push(a[i]); ++i; ++j; }
  }
  return out;
}

// The entry page's search. The index is a manifest and a folder of pieces,
// each a script loaded when first needed (SearchIndex.h tells the format):
// a query loads the buckets of its grams, the lists that prove which
// entries hold its words, and the name pieces of the results it shows; the
// count is exact at once where the lists prove every word, else once every
// candidate is checked against its name. The query stays in the address
// (#q=), so Back from a result finds it again.
//  SHOW          results drawn at a time
//  COUNT_PIECES  name pieces read at most to check candidates for the count
//                (an index of no more than twice as many is read whole)
//  COUNT_AFTER   ms the query must stand before that check starts
//  SETTLE        ms a query typed on must stand before it loads lists or
//                names (once an answer is drawn): each key is a query of
//                its own, and a user typing on would pay for every one
//  COVER_IDS     ids the lists proving a word may hold in all
var SHOW = 50, COUNT_PIECES = 24, COUNT_AFTER = 400, SETTLE = 180, COVER_IDS = 100000;
function entryPage(form) {
  var input = form.querySelector('input'), out = form.querySelector('output');
  var section = d.getElementById('results'), list = section.querySelector('ul');
  var M = null, pieces = {}, waiting = {}, lists = {}, current = 0, state = null, drawn = false;
  var more = el('button', 'more');
  more.type = 'button';
  more.hidden = true;
  section.appendChild(more);
  // A piece, loaded once: a script that calls ombralSearch(name, data).
  function piece(name) {
    if (pieces[name]) return pieces[name];
    var p = pieces[name] = new Promise(function (resolve, reject) {
      waiting[name] = resolve;
      var s = el('script');
      s.src = name === 'manifest' ? form.dataset.index : M.dir + name + '.js';
      s.onload = function () { s.remove(); };
      s.onerror = function () { delete pieces[name]; s.remove(); reject(new Error(name)); };
      d.head.appendChild(s);
    });
    return p;
  }
  window.ombralSearch = function (name, data) {
    var resolve = waiting[name];
    delete waiting[name];
    if (resolve) resolve(data);
    else pieces[name] = Promise.resolve(data);
  };
  (window.ombralSearchData || []).forEach(function (args) { window.ombralSearch.apply(null, args); });
  function manifest() {
    return piece('manifest').then(function (m) { M = m; return m; });
  }
  function gramInfo(gram) {
    return piece('g' + (gramHash(gram) & (M.buckets - 1))).then(function (b) { return b[gram] || null; });
  }
  // A piece for query `s`: at once when it is at hand or `s` was not typed
  // on an answer, else once `s` has stood for a moment (none if replaced).
  function load(s, name) {
    if (pieces[name] || !s.settled) return piece(name);
    return s.settled.then(function () {
      if (s.token !== current) throw new Error('replaced');
      return piece(name);
    });
  }
  function gramList(s, gram, info) {
    if (lists[gram]) return Promise.resolve(lists[gram]);
    var text = typeof info[2] === 'string' ? Promise.resolve(info[2]) : load(s, 'l' + info[2]);
    return text.then(function (t) { return (lists[gram] = decodeList(t)); });
  }
  // The entries holding `word` as far as its lists tell: {ids, exact},
  // exact when the lists prove every id (a word of up to three characters
  // has its own list; a longer one is proved by runs of three or four found
  // side by side and covering it); null when no list narrows it. `info`
  // maps a gram to its bucket's entry. A run of three without a list (in
  // many names) has its runs of four in the index: one missing is in none.
  async function wordIds(s, word, info) {
    var c = Array.from(word);
    if (c.length <= 3) return info[word].length > 2 ? { ids: (await gramList(s, word, info[word])).ids, exact: true } : null;
    var runs = [], fours = [];
    for (var i = 0; i + 3 <= c.length; ++i) {
      var g = c[i] + c[i + 1] + c[i + 2], n = info[g];
      if (n.length > 2) runs.push({ gram: g, at: i, len: 3, size: n[0] + n[1], info: n });
      else if (i + 4 <= c.length) fours.push({ gram: g + c[i + 3], at: i, len: 4 });
    }
    var more = await Promise.all(fours.map(function (r) { return gramInfo(r.gram); }));
    for (var k = 0; k < fours.length; ++k) {
      if (!more[k]) return { ids: [], exact: true };
      if (more[k].length > 2) runs.push(Object.assign(fours[k], { size: more[k][0] + more[k][1], info: more[k] }));
    }
    runs.sort(function (a, b) { return a.at - b.at; });
    if (!runs.length) return null;
    var rarest = runs.reduce(function (a, b) { return b.size < a.size ? b : a; });
    var picked = coverRuns(runs, c.length), size = 0;
    (picked || []).forEach(function (r) { size += r.size; });
    var exact = picked && size <= COVER_IDS;
    // Without a proof the rarest run, and the three next rarest if not much
    // longer, still narrow the candidates.
    if (!exact) {
      picked = runs.filter(function (r) { return r.size <= 8 * rarest.size; }).sort(function (a, b) { return a.size - b.size; }).slice(0, 4);
    }
    var got = await Promise.all(picked.map(function (r) { return gramList(s, r.gram, r.info); }));
    return { ids: joinRuns(picked.map(function (r, k) { return { list: got[k], at: r.at }; })), exact: exact };
  }
  // What the results need of entry `id`, from its name piece.
  function entry(p, id) {
    var off = id % M.slice, name = p.names[off];
    if (id < M.folders) return { folder: true, name: name, href: p.links[off] + M.page };
    var f = null;
    for (var i = 0; i < p.folders.length && p.folders[i][0] <= off; ++i) f = p.folders[i];
    var link = p.links[off] || encodeURIComponent(name), pv = p.previews[off];
    return { name: name, where: f[1], href: f[2] + M.page + '#' + encodeURIComponent(name),
             preview: pv === 1 ? f[2] + M.thumbs + link + '.jpg' : pv ? f[2] + M.thumbs + pv : null };
  }
  function matches(p, off, words) {
    if (!p.folded) p.folded = [];
    var t = p.folded[off];
    if (t == null) t = p.folded[off] = fold(p.names[off]);
    for (var i = 0; i < words.length; ++i) if (t.indexOf(words[i]) < 0) return false;
    return true;
  }
  // Checks candidates in id order until `want` results are found, the
  // candidates end or `budget` pieces were read; several pieces at a time.
  async function collect(s, want, budget) {
    var total = s.ids ? s.ids.length : s.end;
    while (s.found.length < want && s.pos < total && budget > 0) {
      // The pieces of the next candidates, as many as could still be
      // results (so a query reads no piece it does not need), six at most.
      var batch = [], ks = [];
      for (var at = s.pos; at < total && ks.length < 6 && at - s.pos < want - s.found.length; ++at) {
        var k = Math.floor((s.ids ? s.ids[at] : at) / M.slice);
        if (ks.indexOf(k) < 0) ks.push(k);
      }
      var got = await Promise.all(ks.map(function (k) { return load(s, 'n' + k); }));
      budget -= ks.length;
      if (s.token !== current) return;
      for (; s.pos < total; ++s.pos) {
        var id = s.ids ? s.ids[s.pos] : s.pos, i = ks.indexOf(Math.floor(id / M.slice));
        if (i < 0) break;
        if (matches(got[i], id % M.slice, s.words)) { s.found.push(id); batch.push(id); }
      }
      s.entries = s.entries || {};
      batch.forEach(function (id) { s.entries[id] = entry(got[ks.indexOf(Math.floor(id / M.slice))], id); });
    }
    s.done = s.pos >= total;
  }
  function counts(s) {
    if (s.exact) return s.exact;
    var folders = 0;
    while (folders < s.found.length && s.found[folders] < M.folders) ++folders;
    return [s.found.length - folders, folders];
  }
  // The count, exact or (while candidates are left unchecked) the least
  // it can be; `finished` marks the answer whole for whoever waits on it.
  function tell(s, finished) {
    var c = counts(s), known = s.exact || s.done;
    var files = plural(c[0], 'hit'), folders = plural(c[1], 'folder');
    out.textContent = known ? T('found', files, folders) : T('atLeast', T('found', files, folders));
    section.dataset.done = finished || known ? '1' : '';
  }
  function render(s, upTo) {
    var frag = d.createDocumentFragment();
    for (var n = s.shown; n < Math.min(upTo, s.found.length); ++n) {
      var e = s.entries[s.found[n]], li = el('li'), a = el('a');
      a.href = e.href;
      if (e.folder) {
        a.append(T('folderHit') + ' ', bdi(e.name));
        li.appendChild(a);
      } else {
        var img = el('img');
        img.alt = '';
        img.loading = 'lazy';
        if (e.preview) img.src = e.preview; else img.className = 'none';
        var where = el('span', 'where');
        where.append(T('inFolder', '\u0000').split('\u0000')[0], bdi(e.where));
        a.append(img, bdi(e.name));
        li.append(a, where);
      }
      frag.appendChild(li);
    }
    s.shown = Math.max(s.shown, Math.min(upTo, s.found.length));
    list.appendChild(frag);
    more.hidden = s.shown >= s.found.length && s.done;
    more.textContent = T('showMore');
  }
  function remember(text) {
    var hash = text ? '#q=' + encodeURIComponent(text) : '';
    if (location.hash === hash || (!hash && !location.hash)) return;
    try { history.replaceState(null, '', hash || location.pathname + location.search); } catch (e) { location.replace(hash || '#'); }
  }
  async function run(text) {
    var token = ++current, t0 = performance.now(), words = queryWords(text);
    remember(text.trim());
    section.dataset.done = '';
    if (!words.length) { list.textContent = ''; section.hidden = true; more.hidden = true; out.textContent = ''; state = null; section.dataset.done = '1'; return; }
    try {
      if (!M) { out.textContent = T('loading'); await manifest(); }
      var grams = [];
      words.forEach(function (w) { wordGrams(w).forEach(function (g) { if (grams.indexOf(g) < 0) grams.push(g); }); });
      var infos = await Promise.all(grams.map(gramInfo));
      if (token !== current) return;
      var s = { token: token, words: words, found: [], pos: 0, end: M.folders + M.files, shown: 0, ids: null, exact: null, done: false,
                settled: drawn ? new Promise(function (resolve) { setTimeout(resolve, SETTLE); }) : null };
      if (infos.some(function (i) { return !i; })) { s.ids = []; s.exact = [0, 0]; }
      else {
        var info = {};
        grams.forEach(function (g, i) { info[g] = infos[i]; });
        // The whole query is one gram: its counts are the answer's.
        if (words.length === 1 && grams.length === 1 && grams[0] === words[0]) s.exact = [infos[0][0], infos[0][1]];
        // A gram in no folder name (or in no file name) rules out them all.
        if (infos.some(function (i) { return !i[1]; })) s.pos = M.folders;
        if (infos.some(function (i) { return !i[0]; })) s.end = M.folders;
        var sets = [], proved = true;
        for (var w = 0; w < words.length; ++w) {
          var set = await wordIds(s, words[w], info);
          if (token !== current) return;
          if (set) sets.push(set.ids);
          proved = proved && !!set && set.exact;
        }
        if (sets.length) {
          sets.sort(function (a, b) { return a.length - b.length; });
          s.ids = sets.reduce(intersect);
          s.pos = 0;
          if (proved) {
            var folders = 0;
            while (folders < s.ids.length && s.ids[folders] < M.folders) ++folders;
            s.exact = [s.ids.length - folders, folders];
          }
        }
      }
      if (token !== current) return;
      state = s;
      await collect(s, SHOW, Infinity);
      if (token !== current) return;
      list.textContent = '';
      render(s, SHOW);
      drawn = true;
      section.hidden = false;
      tell(s);
      out.dataset.ms = (performance.now() - t0).toFixed(1);
      // The rest of the candidates are checked for the count once the
      // query has stood for a moment (not for every key typed), up to a
      // bound of pieces: past it the count says how many at least.
      if (!s.exact && !s.done) {
        await new Promise(function (resolve) { setTimeout(resolve, COUNT_AFTER); });
        var names = Math.ceil((M.folders + M.files) / M.slice);
        if (token === current) await collect(s, Infinity, names <= 2 * COUNT_PIECES ? Infinity : COUNT_PIECES);
        if (token === current) { tell(s, true); render(s, s.shown); }
      }
    } catch (e) {
      if (token === current) out.textContent = T('loadFailed');
    }
  }
  more.addEventListener('click', async function () {
    var s = state;
    if (!s) return;
    await collect(s, s.shown + SHOW, Infinity);
    if (s === state) { render(s, s.shown + SHOW); tell(s, true); }
  });
  function fromAddress() {
    var m = /^#q=(.*)$/.exec(location.hash);
    if (!m) return;
    var text;
    try { text = decodeURIComponent(m[1]); } catch (e) { text = m[1]; }
    if (text !== input.value) { input.value = text; run(text); }
  }
  input.addEventListener('focus', function () { if (!M) manifest().catch(function () { out.textContent = T('loadFailed'); }); });
  input.addEventListener('input', function () { run(input.value); });
  form.addEventListener('submit', function (e) { e.preventDefault(); run(input.value); });
  addEventListener('hashchange', fromAddress);
  fromAddress();
}

// The folder tree of the entry page folds: each folder with folders below
// it has a <details> after its link, whose summary folds it. The folders below one at the page's edge come from a
// piece (a script file named by data-pieces, '#' its number) loaded when
// it is first opened; a piece's data is drawn a level at a time, as its
// folders open, so the page only ever holds what the reader unfolded.
function folderTree(nav) {
  var waiting = {}, below = new Map();
  function row(node) {
    var li = el('li'), a = el('a'), count = el('span', 'count');
    a.href = node.link;
    a.appendChild(bdi(node.name));
    count.dataset.pictures = node.pictures;
    if (node.videos) count.dataset.videos = node.videos;
    count.textContent = countText(count.dataset);
    li.append(a, ' ', count);
    if (!node.children && node.piece == null) return li;
    var details = el('details'), summary = el('summary');
    summary.setAttribute('aria-label', node.name);
    details.append(summary, el('ul'));
    if (node.piece != null) details.dataset.piece = node.piece;
    else below.set(details, node.children);
    li.appendChild(details);
    return li;
  }
  function fill(details, nodes) {
    var frag = d.createDocumentFragment();
    nodes.forEach(function (node) { frag.appendChild(row(node)); });
    details.querySelector('ul').appendChild(frag);
  }
  function opened(details) {
    if (below.has(details)) { fill(details, below.get(details)); below.delete(details); return; }
    var n = details.dataset.piece;
    if (n == null || n in waiting || details.dataset.loaded) return;
    waiting[n] = details;
    var s = el('script');
    s.src = nav.dataset.pieces.replace('#', n);
    d.head.appendChild(s);
  }
  // A piece calls this with its number and the folders below its folder.
  window.ombralTree = function (n, nodes) {
    var details = waiting[n];
    if (!details) return;
    delete waiting[n];
    details.dataset.loaded = 'true';
    fill(details, nodes);
  };
  // 'toggle' does not bubble; it is caught on its way down.
  nav.addEventListener('toggle', function (e) { if (e.target.open) opened(e.target); }, true);
  [].forEach.call(nav.querySelectorAll('details[open]'), opened);
}

// What the parser has read now, and the rest (the footer) once it has.
translate();
if (d.readyState === 'loading') d.addEventListener('DOMContentLoaded', translate);
var form = d.querySelector('form.search');
if (form) entryPage(form);
var tree = d.querySelector('nav.tree[data-pieces]');
if (tree) folderTree(tree);
var data = d.getElementById('ombral-folder');
if (data) folderPage(JSON.parse(data.textContent));
})();
