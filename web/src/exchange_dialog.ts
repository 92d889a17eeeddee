// The read and write dialogs: a title, a progress bar, OK to start and Cancel to close, as on
// the desktop. Results are told in the desktop's message boxes with its texts.
import type { LinkEvent, Session } from './core.js';
import { element, messageBox } from './dialogs.js';
import type { RadioLink } from './link.js';
import type { Texts } from './texts.js';

export type ExchangeKind = 'read' | 'write';

const kSuccess = 0;
const kLinkFailure = 1;
// Progress ranges of the two dialogs: a read shows 0..20, a write 1..20 (positions 2..21 come in).
const kRange: Record<ExchangeKind, [number, number]> = { read: [0, 20], write: [1, 20] };

export function runExchangeDialog(kind: ExchangeKind, session: Session, link: RadioLink,
                                  texts: Texts, refresh: () => void): Promise<void> {
  const titleKey = kind === 'read' ? 'S0047' : 'S0048';
  const dialog = element('dialog', { class: 'exchange', 'aria-labelledby': 'exchange-title' });
  const title = element('h2', { id: 'exchange-title' }, texts.key(titleKey));
  const progress = element('progress', { max: '1', 'aria-labelledby': 'exchange-title' });
  progress.value = 0;
  const ok = element('button', { type: 'button' }, texts.key('S0049'));
  const cancel = element('button', { type: 'button' }, texts.key('S0050'));
  const buttons = element('div', { class: 'buttons' });
  buttons.append(ok, cancel);
  dialog.append(title, progress, buttons);
  document.body.append(dialog);

  const [low, high] = kRange[kind];
  const show = (position: number) => {
    progress.value = Math.max(0, Math.min(1, (position - low) / (high - low)));
  };
  const enable = (on: boolean) => { ok.disabled = !on; cancel.disabled = !on; };
  const okButton = [{ label: texts.key('S0049'), value: 'ok' }];
  let running = false;
  // Leaving the page in the middle of a write can leave the radio half programmed.
  const guard = (e: BeforeUnloadEvent) => { if (running) e.preventDefault(); };
  window.addEventListener('beforeunload', guard);

  const finished = async (event: LinkEvent) => {
    running = false;
    if (event.number === kLinkFailure) {
      enable(true);
      await messageBox('CPS', texts.key(event.text), okButton);
      await link.close();  // the desktop closes the port too; the next start opens it again
      show(low);
      title.textContent = texts.key(titleKey);
      ok.focus();
      return;
    }
    await messageBox('CPS', texts.key(event.text), okButton);
    if (event.number === kSuccess && kind === 'read') refresh();
    dialog.close();
  };

  ok.addEventListener('click', async () => {
    enable(false);
    if (!(await link.open())) {
      enable(true);
      await messageBox(kind === 'read' ? 'Error!' : 'Error', texts.key('S0004'), okButton);
      return;
    }
    running = true;
    link.run(() => (kind === 'read' ? session.startRead() : session.startWrite()), (event) => {
      if (event.type === 'progress') show(event.number);
      else if (event.type === 'title') title.textContent = texts.key(event.text);
      else void finished(event);
    });
  });
  cancel.addEventListener('click', () => dialog.close());

  return new Promise((resolve) => {
    // Escape ends the dialog as cancelled, also while an exchange runs: no message, port open.
    dialog.addEventListener('close', () => {
      if (running) link.cancel();
      window.removeEventListener('beforeunload', guard);
      dialog.remove();
      resolve();
    });
    dialog.showModal();
    ok.focus();
  });
}
