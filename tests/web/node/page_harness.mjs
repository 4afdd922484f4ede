// The page's own scripts in jsdom, as the page runs them (one script, in web/sources.cmake's order),
// with a fake program behind Module and a clock the test advances. Debian's node-jsdom
// (scripts/setup.sh node-jsdom), and its own modules, found through NODE_PATH:
//   NODE_PATH=/usr/share/nodejs node --test tests/web/node/
import {execFileSync} from 'node:child_process';
import {readFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {fileURLToPath} from 'node:url';
import vm from 'node:vm';

const require = createRequire(import.meta.url);
const jsdom = () => {
  try {
    return require('jsdom');
  } catch (error) {
    throw new Error('jsdom: scripts/setup.sh node-jsdom, and NODE_PATH=/usr/share/nodejs', {cause: error});
  }
};
const {JSDOM, VirtualConsole} = jsdom();
const root = fileURLToPath(new URL('../../../', import.meta.url));
const scripts = execFileSync('cmake', ['-DASTROLUME_WEB_LIST=page_scripts', '-P', 'web/sources.cmake'],
                             {cwd: root, encoding: 'utf8'}).split('\n').filter(Boolean);
// The page's template as it is: with runScripts 'outside-only' its <script> elements (the markers
// make_page.py fills) never run; only the page's own scripts do, below.
const html = readFileSync(root + 'web/page/page.html', 'utf8');
const pageScript = new vm.Script(scripts.map((file) => readFileSync(root + file, 'utf8')).join('\n'),
                                 {filename: 'page scripts'});

export const KEYS = {zoomIn: 122, zoomOut: 120, lighting: 108, animation: 32};
// Entries as web/menu_web.cpp adds them; values unlike their places, so a place taken for a value shows.
export const ENTRIES = [['Astrolume', 40], ['Sun', 41], ['Mercury', 42], ['Saturn', 46]];

// A timer queue: setTimeout's callbacks run only when the test advances the clock past them.
const fakeClock = (window) => {
  let now = 0;
  let next = 1;
  let queue = [];
  window.setTimeout = (callback, ms = 0) => {
    queue.push({id: next, at: now + Math.max(0, ms), callback});
    return next++;
  };
  window.clearTimeout = (id) => { queue = queue.filter((timer) => timer.id !== id); };
  return (ms) => {
    const end = now + ms;
    for (;;) {
      queue.sort((a, b) => a.at - b.at || a.id - b.id);
      if (!queue.length || queue[0].at > end) break;
      const timer = queue.shift();
      now = timer.at;
      timer.callback();
    }
    now = end;
  };
};

// program: the calls the page makes into the program, as [name, ...arguments]. model: the events that
// reach the listeners of the program's GLUT (web/glut_web.cpp: mousedown on the canvas; mouseup,
// mousemove and keydown on the document), as [type, clientX, clientY] or ['keydown', key].
export const openPage = ({webgl = true} = {}) => {
  const errors = [];
  const virtualConsole = new VirtualConsole();
  virtualConsole.on('jsdomError', (error) => errors.push(error));
  const dom = new JSDOM(html, {runScripts: 'outside-only', virtualConsole});
  const {window} = dom;
  const {document} = window;
  const advance = fakeClock(window);
  // The page's WebGL check asks a canvas for a context and its limits; jsdom draws nothing and has none.
  const limits = {MAX_RENDERBUFFER_SIZE: 1, MAX_VIEWPORT_DIMS: 2};
  const webglContext = {...limits, getExtension: () => null, getParameter: (p) => (p === 2 ? [4096, 4096] : 4096)};
  window.HTMLCanvasElement.prototype.getContext = (type) => (webgl && type === 'webgl' ? webglContext : null);
  // Nor media queries: the screen's density never changes here.
  window.matchMedia = () => ({matches: true, addEventListener: () => {}});
  // jsdom has <dialog> but neither showModal() nor close(): as much of them as the page uses.
  window.HTMLDialogElement.prototype.showModal = function () { this.open = true; };
  window.HTMLDialogElement.prototype.close = function () {
    if (!this.open) return;
    this.open = false;
    this.dispatchEvent(new window.Event('close'));
  };
  // Nor does it lay anything out: no element lies under a point (a finger slid over the menu finds none).
  document.elementFromPoint = () => null;
  const context = dom.getInternalVMContext();
  pageScript.runInContext(context);
  const Astrolume = vm.runInContext('Astrolume', context);
  const {Module} = window;
  const program = [];
  Object.assign(Module, {
    astrolumeProgram: {keys: KEYS, zoomStep: 1.01},
    astrolumeResume: () => program.push(['resume']),
    _astrolumeKey: (code) => program.push(['key', code]),
    _astrolumeChooseMenuEntry: (value) => program.push(['choose', value]),
    _astrolumeResizeWindow: (width, height) => program.push(['resize', width, height]),
  });
  for (const [label, value] of ENTRIES) Module.astrolumeMenu.addEntry(label, value);
  const model = [];
  const hear = (event) => model.push(event.type === 'keydown' ? ['keydown', event.key]
                                                              : [event.type, event.clientX, event.clientY]);
  Module.canvas.addEventListener('mousedown', hear);
  for (const type of ['mouseup', 'mousemove', 'keydown']) document.addEventListener(type, hear);

  const byId = (id) => document.getElementById(id);
  // Every event goes through here, so an exception in a listener fails the test that caused it.
  const dispatch = (target, event) => {
    target.dispatchEvent(event);
    if (errors.length) throw errors.shift();
    return event;
  };
  const entry = (label) => [...byId('body-menu').children].find((item) => item.textContent === label);
  return {
    window, document, Module, Astrolume, program, model, advance, byId, entry,
    told: (name) => program.filter(([call]) => call === name).map(([, argument]) => argument),
    control: (name) => document.querySelector(`[data-control="${name}"]`),
    // The focused element's name: 'model', an entry's or a control's label, or an id.
    focused: () => {
      const element = document.activeElement;
      if (element === Module.canvas) return 'model';
      return element?.dataset?.control || element?.id || element?.textContent;
    },
    key: (key, init = {}, target = document.activeElement || document.body) =>
      dispatch(target, new window.KeyboardEvent('keydown', {key, bubbles: true, cancelable: true, ...init})),
    mouse: (type, target, init = {}) =>
      dispatch(target, new window.MouseEvent(type, {bubbles: true, cancelable: true, view: window, ...init})),
    // touches: the fingers down after the event, changed: those it is about, as [id, x, y].
    touch: (type, touches, changed = touches) => {
      const event = new window.Event(type, {bubbles: true, cancelable: true});
      const asTouch = ([identifier, clientX, clientY]) => ({identifier, clientX, clientY});
      Object.assign(event, {touches: touches.map(asTouch), changedTouches: changed.map(asTouch)});
      return dispatch(Module.canvas, event);
    },
    // Lets a box's promise settle.
    settle: () => new Promise((resolve) => setImmediate(resolve)),
  };
};
