// The on-screen controls: each gives the program its key (z, x, l, space), for touch screens without
// keys and for keyboards that Tab to them. A control pressed by pointer hands the focus back to the model,
// so the keys typed next reach the program again.
'use strict';

for (const button of document.querySelectorAll('#controls button[data-key]')) {
  button.addEventListener('click', (event) => {
    Module.astrolumeKey(button.dataset.key.charCodeAt(0));
    if (event.detail > 0) Module.canvas.focus({preventScroll: true});
  });
}
