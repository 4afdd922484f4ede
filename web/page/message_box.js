// The program's modal box as a dialog of the page: its caption as the title, its text with its line
// breaks, one OK button, which Return, Space and Escape also press. The program waits on the promise.
'use strict';

{
  const dialog = document.getElementById('message-box');
  const okButton = document.getElementById('message-box-ok');
  let dismiss = null;

  Module.astrolumeShowMessageBox = (isError, caption, text) => new Promise((resolve) => {
    // Korean is read as Korean: the bodies' boxes are, the decoder's messages are English.
    for (const [id, words] of [['message-box-title', caption], ['message-box-text', text]]) {
      const element = document.getElementById(id);
      element.textContent = words;
      element.lang = /[\uac00-\ud7a3]/.test(words) ? 'ko' : 'en';
    }
    dialog.classList.toggle('error', isError);
    Astrolume.boxesShown += 1;
    Astrolume.hold('box', true);
    dismiss = () => {
      dismiss = null;
      dialog.close();
      Astrolume.hold('box', false);
      Module.canvas.focus();
      resolve();
    };
    dialog.showModal();
    okButton.focus();
  });

  okButton.addEventListener('click', () => { if (dismiss) dismiss(); });
  // The dialog's own Escape would close it without the program hearing of it.
  dialog.addEventListener('cancel', (event) => event.preventDefault());

  // Input while the box is up: the box's keys press OK, nothing reaches the model.
  Astrolume.messageBoxInput = (event) => {
    if (event.type === 'keydown') {
      event.preventDefault();
      if ((event.key === 'Enter' || event.key === ' ' || event.key === 'Escape') && dismiss) dismiss();
    }
    return true;
  };
}
