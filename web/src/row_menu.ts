// The row menu of a channel: copy, cut, paste, clear, move, insert and delete, each one undo
// step in the core. Opened by a right click on a row or Shift+F10 / the menu key in the grid.
import type { RowCommandName, Session } from './core.js';
import { element, messageBox } from './dialogs.js';
import type { Texts } from './texts.js';

const kItems: { command: RowCommandName; key: string; english: string }[] = [
  { command: 'copy', key: 'S0240', english: 'Copy' },
  { command: 'cut', key: 'S0241', english: 'Cut' },
  { command: 'paste', key: 'S0242', english: 'Paste' },
  { command: 'clear', key: 'S0243', english: 'Clear' },
  { command: 'moveUp', key: 'S0244', english: 'Move up' },
  { command: 'moveDown', key: 'S0245', english: 'Move down' },
  { command: 'insert', key: 'S0246', english: 'Insert empty channel' },
  { command: 'delete', key: 'S0247', english: 'Delete channel' },
];

export function openRowMenu(session: Session, texts: Texts, channel: number, anchor: HTMLElement,
                            changed: () => void): void {
  document.querySelector('.row-menu')?.remove();
  const menu = element('div', { role: 'menu', class: 'row-menu', 'aria-label': texts.or('S0254', 'Channel rows') });
  const items: HTMLButtonElement[] = [];
  // Removing the menu moves the focus out of it, which must not remove it a second time.
  let closed = false;
  const dismiss = () => {
    if (closed) return false;
    closed = true;
    menu.remove();
    return true;
  };
  const close = () => {
    if (dismiss()) anchor.focus();
  };
  for (const item of kItems) {
    const button = element('button', { type: 'button', role: 'menuitem', tabindex: '-1' }, texts.or(item.key, item.english));
    if (item.command === 'paste' && !session.clipboardHasRows()) button.setAttribute('aria-disabled', 'true');
    button.addEventListener('click', async () => {
      if (button.getAttribute('aria-disabled') === 'true') return;
      close();
      if (item.command === 'insert' && session.lastChannelInUse()) {
        await messageBox('CPS', texts.or('S0251', 'Channel 20 is in use. Empty it before inserting a channel.'),
          [{ label: texts.key('S0049'), value: 'ok' }]);
        return;
      }
      if (session.rowCommand(item.command, channel, channel)) changed();
    });
    items.push(button);
    menu.append(button);
  }
  menu.addEventListener('keydown', (e) => {
    const at = items.indexOf(document.activeElement as HTMLButtonElement);
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      e.preventDefault();
      const next = (at + (e.key === 'ArrowDown' ? 1 : items.length - 1)) % items.length;
      items[next]!.focus();
    } else if (e.key === 'Escape' || e.key === 'Tab') {
      e.preventDefault();
      close();
    }
  });
  // A press inside the menu keeps the focus where it is, so only leaving the menu closes it.
  menu.addEventListener('mousedown', (e) => e.preventDefault());
  menu.addEventListener('focusout', (e) => {
    if (!menu.contains(e.relatedTarget as Node | null)) dismiss();
  });
  const box = anchor.getBoundingClientRect();
  menu.style.left = `${box.left + window.scrollX}px`;
  menu.style.top = `${box.bottom + window.scrollY}px`;
  document.body.append(menu);
  items[0]!.focus();
}
