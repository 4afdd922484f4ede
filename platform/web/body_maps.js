// The body maps travel inside the page as base64 (astrolumeBodyMaps, by file name); before the program
// starts they become image/<name> in its file system, where the decoder reads them as on the desktop.
'use strict';

Module.preRun.push(() => {
  Astrolume.timings.programLoaded = performance.now();
  Module.FS_createPath('/', 'image', true, true);
  for (const [name, base64] of Object.entries(astrolumeBodyMaps)) {
    const text = atob(base64);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    Module.FS_createDataFile('/image', name, bytes, true, false, false);
  }
  Astrolume.timings.mapsDecoded = performance.now();
});
