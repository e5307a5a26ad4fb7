// SPDX-License-Identifier: GPL-3.0-or-later
// The page of Velitar in a browser: loads the program (velitar.wasm, with its
// progress), shows its windows in #screen, and tells in Russian what a
// desktop would tell otherwise: a browser that cannot run it, a download that
// failed, a start that failed, the program's end. The service worker
// (sw.js) keeps the site's files for use without a network.
'use strict';

// The page loads the program its body names (the timing pages load others);
// the program's size in bytes is written beside it when the site is built.
const program = document.body.dataset.program;
const programBytes = Number(document.body.dataset.bytes);

const $ = id => document.getElementById(id);
const show = id => {
  for (const section of ['loading', 'ended', 'failed'])
    $(section).hidden = section !== id;
  $('screen').classList.toggle('gone', id === 'ended' || id === 'failed');
  // Where the program has gone, the keyboard and a screen reader go on to
  // the page's button, which tells what happened.
  if (id === 'ended' || id === 'failed')
    $(id === 'ended' ? 'restart' : 'retry').focus();
};
const fail = text => {
  $('failed-text').textContent = text;
  show('failed');
};
const number = new Intl.NumberFormat('ru-RU', {minimumFractionDigits: 1, maximumFractionDigits: 1});
const megabytes = bytes => number.format(bytes / 1048576);

// The program is compiled as it comes in (which also lets the browser keep
// the compiled code for the next visit); the progress is read off a copy of
// the download.
async function load(url) {
  const response = await fetch(url);
  if (!response.ok)
    throw new Error(`${response.status} ${response.statusText}`);
  const copy = response.clone().body.getReader();
  const progress = (async () => {
    for (let received = 0; ;) {
      const {done, value} = await copy.read();
      if (done)
        return;
      received += value.length;
      const percent = Math.min(100, Math.floor(100 * received / programBytes));
      $('progress').value = percent;
      $('progress-text').textContent = `Загружено ${megabytes(received)} из ${megabytes(programBytes)} МБ (${percent} %)`;
    }
  })();
  const [module] = await Promise.all([WebAssembly.compileStreaming(response), progress]);
  return module;
}

// A screen reader that reads a page out as soon as it has loaded (Orca does
// by default) keeps its reading mode while the program starts, and the first
// key meant for the program's warm-up list moves the reading instead. Orca
// leaves a page shown at a fragment of itself unread, so the page names
// one; the focus then goes to the program and Orca passes the keys on.
if (!location.hash)
  history.replaceState(null, '', '#velitar');

// On a screen narrower than the widest window (a test window: 545 pixels
// and its frame), the page is laid out that wide, so that a phone scales it
// to fit its width, without sideways scrolling, and the program still draws
// at the screen's full pixel density. Set once, before the program starts:
// its screen then keeps its size.
const widestWindow = 545 + 16;
if (screen.width < widestWindow)
  document.querySelector('meta[name=viewport]').content = `width=${widestWindow}`;

async function start() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.compileStreaming !== 'function') {
    fail('Этот браузер не умеет выполнять WebAssembly, и Велитарь в нём не запускается. Откройте страницу в современном браузере: Chrome, Edge, Firefox или Safari.');
    return;
  }
  if ('serviceWorker' in navigator)
    navigator.serviceWorker.register('sw.js').catch(() => {});
  show('loading');
  let module;
  try {
    module = await load(`${program}.wasm`);
  } catch (error) {
    fail(`Не удалось загрузить программу (${error.message}). Проверьте подключение к сети и попробуйте снова.`);
    return;
  }
  const errors = [];
  const screenElement = $('screen');
  try {
    await qtLoad({
      print: text => console.log(text),
      printErr: text => { errors.push(text); console.warn(text); },
      qt: {
        module,
        entryFunction: window[`${program}_entry`],
        containerElements: [screenElement],
        localFonts: {familiesCollection: 'NoFontFamilies'},
        onLoaded: () => show('screen'),
        onExit: exit => {
          if (exit.code === 0 && !exit.crashed) {
            show('ended');
          } else {
            // The program's own line says why ("velitar: ...").
            const said = errors.filter(line => line.startsWith('velitar: ')).map(line => line.slice(9)).join(' ');
            fail(said ? `Велитарь не смог запуститься в этом браузере: ${said}.` : 'Велитарь не смог запуститься в этом браузере.');
          }
        },
      },
    });
  } catch (error) {
    if (!$('failed').hidden)
      return;
    fail(`Велитарь не смог запуститься в этом браузере. ${error.message ?? ''}`.trim());
    return;
  }
}

$('restart').addEventListener('click', () => location.reload());
$('retry').addEventListener('click', () => location.reload());
start();
