// Ombral's gallery pages: the windowed grid of a folder's pictures, the
// viewer over the page, and the search of the entry page. A classic script
// (no modules, no requests for data), so the pages work from file:// too.
(function () {
'use strict';
var d = document;

// A folder's files come as arrays from the page (JSON in #ombral-folder),
// whose places the data names in its "fields" list and whose kinds in its
// "kinds" list: F.name is the place of the name, K.video the kind of a video.
var F = {}, K = {}, thumbs = '';
function link(it) { return it[F.link] || encodeURIComponent(it[F.name]); }
function previewLink(it) { return thumbs + (it[F.previewFile] || link(it) + '.jpg'); }
function fileLink(it) { return it[F.rendition] ? thumbs + (it[F.renditionFile] || link(it) + '.jpeg') : link(it); }
function el(tag, cls, text) {
  var e = d.createElement(tag);
  if (cls) e.className = cls;
  if (text != null) e.textContent = text;
  return e;
}
function sizeText(n) {
  return n < 1024 ? n + ' bytes' : n < 1048576 ? (n / 1024).toFixed(1) + ' KB' :
    n < 1073741824 ? (n / 1048576).toFixed(1) + ' MB' : (n / 1073741824).toFixed(1) + ' GB';
}

// The grid draws only the rows on screen (and a few around them) between
// a padding above and the list's full height, so a folder of any size
// opens at once and scrolls without loading what is not seen.
function Grid(ul, items, onOpen) {
  var gap = 8, cols = 1, rowH = 1, first = 0, last = 0, nodes = {}, keep = -1, queued = false;
  function tile(i) {
    var it = items[i], li = el('li'), a = el('a'), kind = it[F.kind];
    li.setAttribute('aria-posinset', i + 1);
    li.setAttribute('aria-setsize', items.length);
    a.href = kind === K.file ? link(it) : fileLink(it);
    a.dataset.i = i;
    if (kind === K.picture) {
      var img = el('img');
      img.src = previewLink(it);
      img.alt = it[F.name];
      img.width = it[F.previewWidth];
      img.height = it[F.previewHeight];
      img.decoding = 'async';
      a.appendChild(img);
    } else {
      var icon = el('span', 'icon', kind === K.video ? '\u25B6 Video' : kind === K.unshown ? 'Picture' : 'File');
      icon.setAttribute('aria-hidden', 'true');
      a.appendChild(icon);
      if (kind !== K.picture) a.setAttribute('aria-label', it[F.name]);
    }
    a.appendChild(el('span', 'name', it[F.name]));
    li.appendChild(a);
    return li;
  }
  function measure() {
    var w = ul.clientWidth, min = w < 480 ? 104 : 168;
    cols = Math.max(2, Math.floor((w + gap) / (min + gap)));
    var tileW = (w - gap * (cols - 1)) / cols;
    rowH = Math.round(tileW * 0.85 + 28) + gap;
    ul.style.setProperty('--cols', cols);
    ul.style.setProperty('--row', (rowH - gap) + 'px');
    ul.style.height = (Math.ceil(items.length / cols) * rowH - gap) + 'px';
  }
  function render(force) {
    queued = false;
    var top = ul.getBoundingClientRect().top, rows = Math.ceil(items.length / cols);
    var from = Math.max(0, Math.floor(-top / rowH) - 2);
    var to = Math.min(rows, Math.ceil((innerHeight - top) / rowH) + 2);
    if (keep >= 0) { from = Math.min(from, Math.floor(keep / cols)); to = Math.max(to, Math.floor(keep / cols) + 1); }
    var a = Math.min(from * cols, items.length), b = Math.max(a, Math.min(to * cols, items.length));
    if (force) { ul.textContent = ''; nodes = {}; first = last = a; }
    if (a === first && b === last && !force) return;
    // Rows that left the screen go; rows that came are added at either
    // end. The rows that stay are not touched, so the focus stays put.
    var i;
    for (i = first; i < last; ++i) if ((i < a || i >= b) && nodes[i]) { ul.removeChild(nodes[i]); delete nodes[i]; }
    var head = ul.firstChild;
    for (i = a; i < Math.min(b, first); ++i) { nodes[i] = tile(i); ul.insertBefore(nodes[i], head); }
    for (i = Math.max(a, last); i < b; ++i) { nodes[i] = tile(i); ul.appendChild(nodes[i]); }
    if (first >= b || last <= a) { for (i = a; i < b; ++i) if (!nodes[i]) { nodes[i] = tile(i); ul.appendChild(nodes[i]); } }
    first = a; last = b;
    ul.style.paddingTop = Math.floor(a / cols) * rowH + 'px';
  }
  function later() { if (!queued) { queued = true; requestAnimationFrame(function () { render(false); }); } }
  ul.addEventListener('click', function (e) {
    var a = e.target.closest('a[data-i]');
    // A click with a modifier opens the file as the browser does.
    if (!a || e.button || e.metaKey || e.ctrlKey || e.shiftKey || e.altKey) return;
    if (items[+a.dataset.i][F.kind] === K.file) return;
    e.preventDefault();
    onOpen(+a.dataset.i, a);
  });
  ul.addEventListener('focusin', function (e) {
    var a = e.target.closest('a[data-i]');
    keep = a ? +a.dataset.i : -1;
  });
  addEventListener('scroll', later, { passive: true });
  addEventListener('resize', function () { measure(); render(true); });
  measure();
  render(true);
  return {
    // Brings item i on screen and gives its tile the focus.
    focus: function (i) {
      keep = i;
      var row = Math.floor(i / cols), top = ul.getBoundingClientRect().top + scrollY + row * rowH;
      if (top < scrollY || top + rowH > scrollY + innerHeight) scrollTo(0, top - (innerHeight - rowH) / 2);
      render(false);
      var a = nodes[i] && nodes[i].firstChild;
      if (a) a.focus();
    }
  };
}

// The viewer: a dialog over the page with one picture or video, paged with
// the arrow keys, Home and End, a swipe or its buttons. The address names
// the picture, so the browser's back button closes it and a link can point
// at one picture.
function Viewer(items, grid) {
  var box = el('div', 'viewer'), stage = el('div', 'stage'), caption = el('p', 'caption');
  var prev = el('button', 'prev', '\u2039'), next = el('button', 'next', '\u203A'), close = el('button', 'close', '\u00D7');
  var current = -1, opener = null, pushed = false, shown = [], startX = null, startY = 0;
  for (var n = 0; n < items.length; ++n) if (items[n][F.kind] !== K.file) shown.push(n);
  box.hidden = true;
  box.setAttribute('role', 'dialog');
  box.setAttribute('aria-modal', 'true');
  box.setAttribute('aria-label', 'Picture viewer');
  caption.id = 'ombral-caption';
  box.setAttribute('aria-describedby', caption.id);
  prev.setAttribute('aria-label', 'Previous picture');
  next.setAttribute('aria-label', 'Next picture');
  close.setAttribute('aria-label', 'Close the viewer');
  [prev, next, close].forEach(function (b) { b.type = 'button'; });
  box.append(stage, caption, prev, next, close);
  d.body.appendChild(box);

  function media(i) {
    var it = items[i], m;
    if (it[F.kind] === K.video) {
      m = el('video');
      m.controls = true;
      m.preload = 'metadata';
      m.setAttribute('playsinline', '');
    } else {
      m = el('img');
      m.alt = it[F.name];
    }
    m.src = fileLink(it);
    return m;
  }
  function describe(i) {
    var it = items[i], parts = [];
    caption.textContent = '';
    caption.appendChild(el('strong', null, it[F.name]));
    if (it[F.date]) parts.push(it[F.taken] ? 'taken ' + it[F.date] : 'file date ' + it[F.date]);
    if (it[F.camera]) parts.push(it[F.camera]);
    if (it[F.width]) parts.push(it[F.width] + ' \u00D7 ' + it[F.height]);
    parts.push(sizeText(it[F.bytes]));
    parts.push((shown.indexOf(i) + 1) + ' of ' + shown.length);
    caption.appendChild(d.createTextNode(' \u00B7 ' + parts.join(' \u00B7 ') + ' \u00B7 '));
    var orig = el('a', null, it[F.rendition] ? 'original file' : 'open the file');
    orig.href = link(it);
    caption.appendChild(orig);
  }
  function show(i) {
    current = i;
    stage.textContent = '';
    stage.appendChild(media(i));
    describe(i);
    var at = shown.indexOf(i);
    prev.disabled = at <= 0;
    next.disabled = at >= shown.length - 1;
    // The next picture is loaded while this one is looked at.
    var after = shown[at + 1];
    if (after != null && items[after][F.kind] !== K.video) new Image().src = fileLink(items[after]);
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
  function open(i, from, push) {
    opener = from || d.activeElement;
    if (current < 0) { box.hidden = false; d.body.classList.add('viewing'); }
    show(i);
    address(i, push);
    close.focus();
  }
  function hide() {
    if (current < 0) return;
    var was = current;
    current = -1;
    pushed = false;
    stage.textContent = '';
    box.hidden = true;
    d.body.classList.remove('viewing');
    if (opener && opener.isConnected && opener.dataset.i == was) opener.focus();
    else grid.focus(was);
  }
  function shut() {
    if (pushed) { pushed = false; history.back(); return; }  // the popstate hides it
    hide();
    try { history.replaceState(null, '', location.pathname + location.search); } catch (e) { location.hash = ''; }
  }
  function step(by) {
    var at = Math.max(0, Math.min(shown.length - 1, shown.indexOf(current) + by));
    if (shown[at] !== current) { show(shown[at]); address(shown[at], false); }
  }
  function fromAddress() {
    var name = '';
    try { name = decodeURIComponent(location.hash.slice(1)); } catch (e) { return -1; }
    for (var i = 0; i < items.length; ++i) if (items[i][F.name] === name && items[i][F.kind] !== K.file) return i;
    return -1;
  }
  function follow() {
    var i = fromAddress();
    if (i >= 0 && i !== current) { if (current < 0) open(i, null, false); else show(i); }
    else if (i < 0) hide();
  }
  prev.onclick = function () { step(-1); };
  next.onclick = function () { step(1); };
  close.onclick = shut;
  box.addEventListener('keydown', function (e) {
    var keys = { ArrowLeft: -1, ArrowRight: 1, Home: -shown.length, End: shown.length };
    if (e.key === 'Escape') { e.preventDefault(); shut(); }
    else if (e.key in keys && !(e.target.tagName === 'VIDEO')) { e.preventDefault(); step(keys[e.key]); }
    else if (e.key === 'Tab') {
      // The focus stays in the dialog.
      var all = [].slice.call(box.querySelectorAll('button:not([disabled]), a, video'));
      var at = all.indexOf(d.activeElement);
      e.preventDefault();
      all[(at + (e.shiftKey ? all.length - 1 : 1)) % all.length].focus();
    }
  });
  stage.addEventListener('pointerdown', function (e) { startX = e.clientX; startY = e.clientY; });
  stage.addEventListener('pointerup', function (e) {
    if (startX == null) return;
    var dx = e.clientX - startX, dy = e.clientY - startY;
    startX = null;
    if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy)) step(dx < 0 ? 1 : -1);
  });
  stage.addEventListener('click', function (e) { if (e.target === stage) shut(); });
  addEventListener('popstate', follow);
  addEventListener('hashchange', follow);
  return { open: function (i, from) { open(i, from, true); }, follow: follow };
}

function folderPage(data) {
  var ul = d.getElementById('grid');
  if (!ul || !data) return;
  data.fields.forEach(function (name, i) { F[name] = i; });
  data.kinds.forEach(function (name, i) { K[name] = i; });
  thumbs = data.thumbs;
  var viewer = null;
  var grid = Grid(ul, data.items, function (i, from) { viewer.open(i, from); });
  viewer = Viewer(data.items, grid);
  viewer.follow();
}

// The search: the index is a script file loaded when the box first gets the
// focus. Its names are one text, '/' between them; a query is looked for
// in that text, so a million names are searched in milliseconds.
function entryPage(form) {
  var input = form.querySelector('input'), out = form.querySelector('output');
  var section = d.getElementById('results'), list = section.querySelector('ul');
  var index = null, loading = false;
  function prepare(page, folders, starts, names) {
    var lower = names.toLowerCase(), seps = [], p;
    // Lower-casing must keep every offset; characters that grow stay as they are.
    if (lower.length !== names.length) lower = names.replace(/[^]/g, function (c) { var l = c.toLowerCase(); return l.length === 1 ? l : c; });
    for (p = names.indexOf('/'); p >= 0; p = names.indexOf('/', p + 1)) seps.push(p);
    var shown = [];
    for (p = 0; p < folders.length; p += 2) shown.push(folders[p].toLowerCase());
    return { page: encodeURIComponent(page), folders: folders, starts: starts, names: names, lower: lower,
             seps: Int32Array.from(seps), shownFolders: shown, count: names ? seps.length + 1 : 0 };
  }
  // The largest k with values[k] <= n (values ascending).
  function below(values, n) {
    var lo = 0, hi = values.length;
    while (lo < hi) { var mid = (lo + hi) >> 1; if (values[mid] <= n) lo = mid + 1; else hi = mid; }
    return lo - 1;
  }
  function search(q) {
    var ix = index, found = [], folders = [], total = 0, more = false, pos = 0;
    for (var f = 0; f < ix.shownFolders.length && folders.length < 20; ++f)
      if (ix.shownFolders[f].indexOf(q) >= 0) folders.push(f);
    if (q.indexOf('/') < 0) {
      while ((pos = ix.lower.indexOf(q, pos)) >= 0) {
        var n = below(ix.seps, pos - 1) + 1;
        if (found.length < 100) found.push(n);
        if (++total >= 1000) { more = true; break; }
        pos = n < ix.seps.length ? ix.seps[n] + 1 : ix.lower.length;
      }
    }
    return { folders: folders, names: found, total: total, more: more };
  }
  function nameOf(n) {
    var ix = index, start = n ? ix.seps[n - 1] + 1 : 0, end = n < ix.seps.length ? ix.seps[n] : ix.names.length;
    return ix.names.substring(start, end);
  }
  function show() {
    var q = input.value.trim().toLowerCase();
    list.textContent = '';
    if (!q) { section.hidden = true; out.textContent = ''; return; }
    var t0 = performance.now(), r = search(q), frag = d.createDocumentFragment(), ix = index;
    r.folders.forEach(function (f) {
      var li = el('li'), a = el('a', null, ix.folders[2 * f]);
      a.href = ix.folders[2 * f + 1] + ix.page;
      li.append('Folder ', a);
      frag.appendChild(li);
    });
    r.names.forEach(function (n) {
      var f = below(ix.starts, n), name = nameOf(n), li = el('li'), a = el('a', null, name);
      a.href = ix.folders[2 * f + 1] + ix.page + '#' + encodeURIComponent(name);
      li.append(a, el('span', 'where', 'in ' + ix.folders[2 * f]));
      frag.appendChild(li);
    });
    list.appendChild(frag);
    section.hidden = false;
    out.textContent = (r.more ? 'More than ' + r.total : r.total) + (r.total === 1 ? ' file' : ' files') +
      ' and ' + r.folders.length + (r.folders.length === 1 ? ' folder' : ' folders') + ' found';
    out.dataset.ms = (performance.now() - t0).toFixed(1);
  }
  function load() {
    if (loading) return;
    loading = true;
    out.textContent = 'Loading the index\u2026';
    var s = el('script');
    s.src = form.dataset.index;
    s.onerror = function () { out.textContent = 'The search index could not be loaded.'; };
    d.head.appendChild(s);
  }
  // The index file calls this, or leaves its data when it came first.
  window.ombralSearch = function (page, folders, starts, names) {
    index = prepare(page, folders, starts, names);
    out.textContent = index.count + ' files indexed';
    if (input.value) show();
  };
  if (window.ombralSearchData) window.ombralSearch.apply(null, window.ombralSearchData);
  input.addEventListener('focus', load);
  input.addEventListener('input', function () { if (index) show(); else load(); });
  form.addEventListener('submit', function (e) { e.preventDefault(); if (index) show(); });
}

var form = d.querySelector('form.search');
if (form) entryPage(form);
var data = d.getElementById('ombral-folder');
if (data) folderPage(JSON.parse(data.textContent));
})();
