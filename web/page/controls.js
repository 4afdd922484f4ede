// The on-screen controls: each gives the program the key it stands for (Module.astrolumeProgram.keys),
// for touch screens without keys and for keyboards that Tab to them. A control pressed by pointer hands
// the focus back to the model, so the keys typed next reach the program again; pressed by Enter or
// Space, it keeps the focus.
'use strict';

for (const button of document.querySelectorAll('#controls button[data-control]')) {
  button.addEventListener('click', (event) => {
    Astrolume.sendKey(button.dataset.control);
    if (event.detail > 0) Module.canvas.focus({preventScroll: true});
  });
}
