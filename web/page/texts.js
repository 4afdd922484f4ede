// The page's own words in each language it speaks: one table, each text once. The page speaks the first
// of the browser's preferred languages (navigator.languages) that the table has, English where it has
// none. The program's own words (the menu's labels, the boxes) stay as the program gives them, marked
// English inside a Korean page. In a text, {name} is a value the page fills in, {key:control} the name
// of the key a control stands for.
'use strict';

Astrolume.texts = {
  en: {
    controls: 'Controls',
    zoomIn: 'Zoom in',
    zoomOut: 'Zoom out',
    lighting: 'Light',
    animation: 'Start/stop',
    bodies: 'Bodies',
    fullScreen: 'Full screen',
    fineHelp: 'Drag to turn · {key:zoomIn} and {key:zoomOut} zoom · {key:lighting} switches the light · ' +
              '{key:animation} starts and stops · right button or the menu key: the bodies · Esc ends',
    coarseHelp: 'Drag to turn · pinch to zoom · long press: the bodies · ' +
                'the buttons zoom, switch the light, start and stop',
    space: 'space',
    licences: 'Licences',
    licencesText: 'Astrolume {version} and its planet maps: GNU General Public License, version 2 or later. ' +
                  'The Hangul font is a part of NanumGothic, under the SIL Open Font License 1.1.',
    close: 'Close',
    ok: 'OK',
    ended: 'Astrolume has ended (exit status {status}).',
    startAgain: 'Start again',
    noWebGL: 'Astrolume needs WebGL, which this browser does not offer now. Try another browser, or ' +
             "switch on hardware acceleration in this browser's settings.",
    cannotRun: 'Astrolume cannot run in this browser now: it was refused a WebGL context. Try another ' +
               "browser, or switch on hardware acceleration in this browser's settings.",
    wholeSystem: 'The model of the solar system',
    closeUp: 'The model: {body} close up',
    bodyNames: ['the Sun', 'Mercury', 'Venus', 'the Earth and the Moon', 'Mars', 'Jupiter', 'Saturn and its ring',
                'Uranus', 'Neptune', 'Pluto'],
  },
  ko: {
    controls: '조작 단추',
    zoomIn: '확대',
    zoomOut: '축소',
    lighting: '조명',
    animation: '시작/멈춤',
    bodies: '천체',
    fullScreen: '전체 화면',
    fineHelp: '끌어서 돌리기 · {key:zoomIn}와 {key:zoomOut}: 확대와 축소 · {key:lighting}: 조명 켜기와 끄기 · ' +
              '{key:animation}: 시작과 멈춤 · 오른쪽 단추나 메뉴 키: 천체 · Esc: 끝내기',
    coarseHelp: '끌어서 돌리기 · 두 손가락으로 벌리고 오므리기: 확대와 축소 · 길게 누르기: 천체 · ' +
                '단추: 확대, 축소, 조명, 시작과 멈춤',
    space: '스페이스',
    licences: '라이선스',
    licencesText: 'Astrolume {version}과 행성 지도: GNU 일반 공중 사용 허가서 2판 또는 그 이후 판. ' +
                  '한글 글꼴은 나눔고딕의 일부이며 SIL 오픈 폰트 라이선스 1.1을 따릅니다.',
    close: '닫기',
    ok: '확인',
    ended: 'Astrolume이 끝났습니다(종료 상태 {status}).',
    startAgain: '다시 시작',
    noWebGL: '이 페이지에는 WebGL이 필요한데, 이 브라우저에서는 지금 쓸 수 없습니다. 다른 브라우저를 쓰거나 ' +
             '브라우저 설정에서 하드웨어 가속을 켜 보세요.',
    cannotRun: 'Astrolume을 지금 이 브라우저에서 실행할 수 없습니다. 브라우저가 WebGL 그리기를 허락하지 ' +
               '않았습니다. 다른 브라우저를 쓰거나 브라우저 설정에서 하드웨어 가속을 켜 보세요.',
    wholeSystem: '태양계 모형',
    closeUp: '모형: {body} 크게 보기',
    bodyNames: ['태양', '수성', '금성', '지구와 달', '화성', '목성', '토성과 고리', '천왕성', '해왕성', '명왕성'],
  },
};

Astrolume.language = (() => {
  const preferred = navigator.languages?.length ? navigator.languages : [navigator.language || 'en'];
  return preferred.map((tag) => tag.toLowerCase().split('-')[0]).find((code) => code in Astrolume.texts) || 'en';
})();

// One text in the page's language, its {name}s filled from `values`.
Astrolume.text = (name, values = {}) =>
  Astrolume.texts[Astrolume.language][name].replace(/\{(\w+)\}/g, (_, value) => String(values[value]));

// The name of a key the program answers, as the help shows it.
Astrolume.keyName = (code) => (code === 32 ? Astrolume.text('space') : String.fromCharCode(code));

// Every element's own words: data-text its content, data-label its accessible name. A {key:control}
// becomes the key's name in a <kbd> once the program has said which keys it answers.
Astrolume.showTexts = () => {
  document.documentElement.lang = Astrolume.language;
  for (const element of document.querySelectorAll('[data-text]')) {
    const parts = Astrolume.text(element.dataset.text, {version: document.documentElement.dataset.version})
                           .split(/\{key:(\w+)\}/);
    element.replaceChildren(...parts.map((part, i) => {
      if (i % 2 === 0) return part;
      const key = document.createElement('kbd');
      const code = Module.astrolumeProgram?.keys[part];
      key.textContent = code === undefined ? '' : Astrolume.keyName(code);
      return key;
    }));
  }
  for (const element of document.querySelectorAll('[data-label]')) {
    element.setAttribute('aria-label', Astrolume.text(element.dataset.label));
  }
};
Astrolume.showTexts();
