// The body maps travel inside the page as base64 (astrolumeBodyMaps, by file name); before the program
// starts they become image/<name> in its file system, where the decoder reads them as on the desktop.
'use strict';

{
  // The browser's own decoder where it has one (several times faster than a loop over atob's text).
  const decodeBase64 = Uint8Array.fromBase64 ? (text) => Uint8Array.fromBase64(text) : (text) => {
    const binary = atob(text);
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  };

  Module.preRun.push(() => {
    Astrolume.timings.programLoaded = performance.now();
    Module.FS_createPath('/', 'image', true, true);
    for (const [name, base64] of Object.entries(astrolumeBodyMaps)) {
      Module.FS_createDataFile('/image', name, decodeBase64(base64), true, false, false);
    }
    Astrolume.timings.mapsDecoded = performance.now();
  });
}
