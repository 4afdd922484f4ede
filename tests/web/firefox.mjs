// Firefox ESR on $DISPLAY, driven over WebDriver BiDi by puppeteer-core, for tests/web/browsers.py: one
// JSON request per line on stdin ({op, ...}), one answer per line on stdout ({value} or {error}).
// Usage: node firefox.mjs WIDTH HEIGHT
import {createInterface} from 'node:readline';
import puppeteer from 'puppeteer-core';

const [width, height] = process.argv.slice(2).map(Number);
const browser = await puppeteer.launch({
  browser: 'firefox',
  executablePath: '/usr/bin/firefox-esr',
  // Headless Firefox has no WebGL; on Xvfb it draws through Mesa.
  headless: false,
  defaultViewport: null,
  args: [`--width=${width}`, `--height=${height}`],
});
const page = (await browser.pages())[0] ?? await browser.newPage();
let problems = [];
page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
page.on('pageerror', (error) => problems.push(String(error)));

const buttons = {0: 'left', 2: 'right'};
const operations = {
  version: () => browser.version(),
  get: async ({url}) => { await page.goto(url); },
  js: ({body}) => page.evaluate(`(() => { ${body} })()`),
  type: ({text}) => page.keyboard.type(text),
  press: ({key}) => page.keyboard.press(key),
  mouse: async ({steps}) => {
    for (const [kind, a, b] of steps) {
      if (kind === 'move') await page.mouse.move(a, b);
      else if (kind === 'down') await page.mouse.down({button: buttons[a]});
      else await page.mouse.up({button: buttons[a]});
    }
  },
  png: async ({selector}) => (await page.$(selector)).screenshot({encoding: 'base64'}),
  problems: () => { const seen = problems; problems = []; return seen; },
  quit: () => browser.close(),
};

for await (const line of createInterface({input: process.stdin})) {
  const request = JSON.parse(line);
  let answer;
  try {
    answer = {value: await operations[request.op](request) ?? null};
  } catch (error) {
    answer = {error: String(error)};
  }
  process.stdout.write(JSON.stringify(answer) + '\n');
  if (request.op === 'quit') break;
}
