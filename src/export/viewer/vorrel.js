// Plays a Kinetta page's frames in browsers that run no Java applet. It finds each applet
// element whose code is vorrel.class, reads the same parameters the applet reads (Count, File1,
// File2, Time0, Time1, Time9) and puts a canvas of the applet's size in its place, on which
// the frames File1 + number (two digits or more) + "." + File2 play from 0 to Count, looping:
// the first frame for Time0 milliseconds, the last for Time9, the others for Time1.
//
// The canvas records what it does for whoever looks at the page's DOM: data-vorrel-frame is
// the frame shown now, data-vorrel-shown the numbers of the first frames shown and
// data-vorrel-waits the pause after each of them. No other file and no network are used.
(function () {
  'use strict';

  var MIN_DELAY = 10;        // a time of 0 must not keep the processor busy
  var DEFAULT_TIME = 200;    // Time1 when it is missing or no whole number
  var DEFAULT_EXTENSION = 'bmp';
  var RECORD_LIMIT = 256;    // entries kept in the data attributes
  var CACHE_LIMIT = 128;     // longer animations keep only the frames about to be shown

  function wholeNumber(text) {
    if (text === null || text === undefined) return null;
    var t = String(text).replace(/^\s+|\s+$/g, '');
    return /^[+-]?\d+$/.test(t) ? parseInt(t, 10) : null;
  }

  // The highest frame number; missing, unreadable or below 0 gives -1: nothing to play.
  function count(text) {
    var v = wholeNumber(text);
    return v === null || v < 0 ? -1 : v;
  }

  // Time1 falls back to DEFAULT_TIME, Time0 and Time9 to Time1; negative times count as 0.
  function time(text, fallback) {
    var v = wholeNumber(text);
    return v === null ? fallback : Math.max(0, v);
  }

  function delay(k, s) {
    var t = k === 0 ? s.first : k === s.count ? s.last : s.middle;
    return Math.max(MIN_DELAY, t);
  }

  function next(k, s) { return k >= s.count ? 0 : k + 1; }

  function number(k) { return (k <= 9 ? '0' : '') + k; }

  function frameAddress(k, s) {
    return encodeURIComponent(s.file1 + number(k) + '.' + s.file2);
  }

  // Applet parameter names are matched without regard to case, as the applet's own lookup does.
  function parameters(applet) {
    var found = {};
    var list = applet.getElementsByTagName('param');
    for (var i = 0; i < list.length; i++) {
      var name = list[i].getAttribute('name');
      if (name !== null && !found.hasOwnProperty(name.toLowerCase())) {
        found[name.toLowerCase()] = list[i].getAttribute('value');
      }
    }
    return found;
  }

  function schedule(p) {
    var middle = time(p.time1, DEFAULT_TIME);
    var file1 = p.file1 === undefined ? null : p.file1;
    return {
      count: file1 === null ? -1 : count(p.count),
      file1: file1,
      file2: p.file2 === undefined || p.file2 === null ? DEFAULT_EXTENSION : p.file2,
      first: time(p.time0, middle),
      middle: middle,
      last: time(p.time9, middle)
    };
  }

  function size(text) {
    var v = wholeNumber(text);
    return v === null || v < 0 ? null : v;
  }

  function record(canvas, name, list, entry) {
    if (list.length >= RECORD_LIMIT) return;
    list.push(entry);
    canvas.setAttribute(name, list.join(' '));
  }

  function play(applet) {
    var s = schedule(parameters(applet));
    var canvas = document.createElement('canvas');
    var width = size(applet.getAttribute('width'));
    var height = size(applet.getAttribute('height'));
    canvas.width = width === null ? 0 : width;
    canvas.height = height === null ? 0 : height;
    canvas.className = 'vorrel';
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', 'Animation');
    canvas.setAttribute('data-vorrel-shown', '');
    canvas.setAttribute('data-vorrel-waits', '');
    applet.parentNode.replaceChild(canvas, applet);
    if (s.count < 0) return;

    var context = canvas.getContext('2d');
    var images = {};
    var shown = [];
    var waits = [];
    var k = 0;

    function image(n) {
      if (!images[n]) {
        var im = new Image();
        im.src = frameAddress(n, s);
        images[n] = im;
      }
      return images[n];
    }

    function step() {
      var im = image(k);
      if (!im.complete) {
        im.onload = im.onerror = step;
        return;
      }
      im.onload = im.onerror = null;
      if (im.naturalWidth > 0) {
        // A page without a size takes the frames' size.
        if (width === null) canvas.width = im.naturalWidth;
        if (height === null) canvas.height = im.naturalHeight;
        context.clearRect(0, 0, canvas.width, canvas.height);
        context.drawImage(im, 0, 0);
        canvas.setAttribute('data-vorrel-frame', number(k));
        record(canvas, 'data-vorrel-shown', shown, number(k));
      } else {
        // Missing or unreadable: the previous frame stays, and the file is asked for again on
        // the next round, in case a new run has written it by then.
        delete images[k];
      }
      var wait = delay(k, s);
      record(canvas, 'data-vorrel-waits', waits, String(wait));
      var done = k;
      k = next(k, s);
      if (k !== done && s.count + 1 > CACHE_LIMIT) delete images[done];
      image(k);
      window.setTimeout(step, wait);
    }

    step();
  }

  function start() {
    // A browser that still runs Java plays the applet itself.
    if (navigator.javaEnabled && navigator.javaEnabled()) return;
    var applets = document.getElementsByTagName('applet');
    var mine = [];
    for (var i = 0; i < applets.length; i++) {
      var code = applets[i].getAttribute('code') || '';
      if (/^vorrel(\.class)?$/i.test(code)) mine.push(applets[i]);
    }
    for (var j = 0; j < mine.length; j++) play(mine[j]);
  }

  // The page loads this script from inside the applet element, before the parameters that
  // follow it are read: start once the whole page is there, and only once.
  if (window.vorrelStarted) return;
  window.vorrelStarted = true;
  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', start);
  } else {
    start();
  }
})();
