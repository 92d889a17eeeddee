// The channel grid: an ARIA grid of twenty channels under a header row, with the desktop's
// in-place editors (a text box for frequencies, a list for tones and bandwidth). Values are
// stored by the core the moment an editor commits; the grid then shows the image again.
import type { Session } from './core.js';
import { element } from './dialogs.js';

const kColumns = 6;
const kChannels = 20;
const kFrequencyColumns = [1, 2];
const kFrequencyMaxLength = 9;

export interface GridHooks {
  changed(): void;                                   // the image changed: refresh what shows it
  rowMenu(channel: number, anchor: HTMLElement): void;  // the row menu for a channel
}

export class ChannelGrid {
  readonly table = element('table', { role: 'grid', class: 'grid', 'aria-rowcount': String(kChannels + 1) });
  private readonly cells: HTMLTableCellElement[][] = [];
  private focusRow = 1;
  private focusColumn = 1;
  private editing: { close(commit: boolean): void } | null = null;

  constructor(private readonly session: Session, private readonly hooks: GridHooks) {
    const head = element('thead');
    const body = element('tbody');
    for (let row = 0; row <= kChannels; row++) {
      const tr = element('tr', { 'aria-rowindex': String(row + 1) });
      const cells: HTMLTableCellElement[] = [];
      for (let column = 0; column < kColumns; column++) {
        const header = row === 0 || column === 0;
        const cell = element(header ? 'th' : 'td', {
          role: row === 0 ? 'columnheader' : column === 0 ? 'rowheader' : 'gridcell',
          tabindex: '-1',
        }) as HTMLTableCellElement;
        if (row === 0) cell.setAttribute('scope', 'col');
        cell.dataset.row = String(row);
        cell.dataset.column = String(column);
        cells.push(cell);
        tr.append(cell);
      }
      this.cells.push(cells);
      (row === 0 ? head : body).append(tr);
    }
    this.table.append(head, body);
    this.table.addEventListener('keydown', (e) => this.onKey(e));
    this.table.addEventListener('click', (e) => this.onClick(e));
    this.table.addEventListener('contextmenu', (e) => this.onContextMenu(e));
    // Focus that arrives by a click or from outside makes that cell the grid's current one.
    this.table.addEventListener('focusin', (e) => {
      const cell = e.target instanceof HTMLTableCellElement ? e.target : null;
      if (cell) this.track(Number(cell.dataset.row), Number(cell.dataset.column));
    });
    this.cells[1]![1]!.tabIndex = 0;
  }

  label(name: string): void {
    this.table.setAttribute('aria-label', name);
  }

  // Fills every cell from the image, as the desktop's fill does after any change.
  fill(): void {
    const headings = this.session.headings();
    headings.forEach((text, column) => { this.cells[0]![column]!.textContent = text; });
    this.session.rows().forEach((cells, index) => {
      cells.forEach((text, column) => {
        const cell = this.cells[index + 1]![column]!;
        if (cell.firstElementChild === null) cell.textContent = text;
        cell.dataset.text = text;
      });
    });
  }

  private cellOf(target: EventTarget | null): HTMLTableCellElement | null {
    const cell = (target as HTMLElement | null)?.closest('td, th');
    return cell instanceof HTMLTableCellElement && this.table.contains(cell) ? cell : null;
  }

  private track(row: number, column: number): void {
    this.cells[this.focusRow]![this.focusColumn]!.tabIndex = -1;
    this.focusRow = row;
    this.focusColumn = column;
    this.cells[row]![column]!.tabIndex = 0;
  }

  private moveFocus(row: number, column: number): void {
    row = Math.max(0, Math.min(kChannels, row));
    column = Math.max(0, Math.min(kColumns - 1, column));
    this.track(row, column);
    this.cells[row]![column]!.focus();
  }

  private onClick(event: MouseEvent): void {
    const cell = this.cellOf(event.target);
    if (!cell || cell.firstElementChild) return;
    const row = Number(cell.dataset.row);
    const column = Number(cell.dataset.column);
    this.moveFocus(row, column);
    this.openEditor(row, column);  // a click edits at once, as on the desktop
  }

  private onContextMenu(event: MouseEvent): void {
    const cell = this.cellOf(event.target);
    const row = cell ? Number(cell.dataset.row) : 0;
    if (row < 1) return;
    event.preventDefault();
    this.hooks.rowMenu(row, cell!);
  }

  private onKey(event: KeyboardEvent): void {
    if (this.editing) return;  // the editor handles its own keys
    const moves: Record<string, [number, number]> = {
      ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1],
    };
    const move = moves[event.key];
    if (move) {
      event.preventDefault();
      this.moveFocus(this.focusRow + move[0], this.focusColumn + move[1]);
    } else if (event.key === 'Home' || event.key === 'End') {
      event.preventDefault();
      this.moveFocus(event.ctrlKey ? (event.key === 'Home' ? 1 : kChannels) : this.focusRow,
        event.key === 'Home' ? 1 : kColumns - 1);
    } else if (event.key === 'Enter' || event.key === 'F2') {
      event.preventDefault();
      this.openEditor(this.focusRow, this.focusColumn);
    } else if ((event.key === 'F10' && event.shiftKey) || event.key === 'ContextMenu') {
      event.preventDefault();
      if (this.focusRow >= 1) this.hooks.rowMenu(this.focusRow, this.cells[this.focusRow]![this.focusColumn]!);
    }
  }

  // Keys that leave an editor for a neighbour: Up and Down move the focus, Tab and Shift+Tab go
  // on to the next or previous data cell (across rows) and open its editor, as on the desktop.
  private moveOn(row: number, column: number, event: KeyboardEvent): void {
    if (event.key !== 'Tab') {
      this.moveFocus(row + (event.key === 'ArrowUp' ? -1 : 1), column);
      return;
    }
    const dataColumns = kColumns - 1;
    const index = (row - 1) * dataColumns + (column - 1) + (event.shiftKey ? -1 : 1);
    if (index < 0 || index >= kChannels * dataColumns) {
      this.moveFocus(row, column);
      return;
    }
    const next = { row: Math.floor(index / dataColumns) + 1, column: (index % dataColumns) + 1 };
    this.moveFocus(next.row, next.column);
    this.openEditor(next.row, next.column);
  }

  // Header cells and the channel labels open no editor.
  private openEditor(row: number, column: number): void {
    if (row < 1 || column < 1) return;
    const cell = this.cells[row]![column]!;
    const text = cell.dataset.text ?? '';
    if (kFrequencyColumns.includes(column)) this.editFrequency(cell, row, column, text);
    else this.editChoice(cell, row, column, text);
  }

  private finishEditing(cell: HTMLTableCellElement, refocus: boolean): void {
    this.editing = null;
    cell.replaceChildren(cell.dataset.text ?? '');
    this.fill();
    if (refocus) cell.focus();
  }

  private editFrequency(cell: HTMLTableCellElement, row: number, column: number, text: string): void {
    const heading = this.cells[0]![column]!.textContent ?? '';
    const input = element('input', {
      type: 'text', inputmode: 'decimal', maxlength: String(kFrequencyMaxLength), class: 'editor',
      'aria-label': `${this.cells[row]![0]!.textContent} ${heading}`,
    });
    input.value = text;
    let done = false;
    const close = (commit: boolean, refocus = true) => {
      if (done) return;
      done = true;
      if (commit && this.session.commitCell(row, column, input.value)) this.hooks.changed();
      this.finishEditing(cell, refocus);
    };
    input.addEventListener('keydown', (e) => {
      if (e.key === 'Enter') { e.preventDefault(); close(true); }
      else if (e.key === 'Escape') { e.preventDefault(); close(false); }
      else if (e.key === 'ArrowUp' || e.key === 'ArrowDown' || e.key === 'Tab') {
        e.preventDefault();
        close(true);
        this.moveOn(row, column, e);
      }
      e.stopPropagation();
    });
    // Leaving the box stores what it holds, corrected to the band and the channel step.
    input.addEventListener('blur', () => close(true, false));
    this.editing = { close };
    cell.replaceChildren(input);
    input.focus();
    input.select();
  }

  private editChoice(cell: HTMLTableCellElement, row: number, column: number, text: string): void {
    const entries = column === 5 ? this.session.bandwidthTexts() : this.session.toneTexts();
    const heading = this.cells[0]![column]!.textContent ?? '';
    const select = element('select', { class: 'editor', 'aria-label': `${this.cells[row]![0]!.textContent} ${heading}` });
    entries.forEach((entry, position) => select.append(element('option', { value: String(position) }, entry)));
    select.selectedIndex = InitialChoice(entries, text);
    let done = false;
    const close = (_commit: boolean, refocus = true) => {
      if (done) return;
      done = true;
      this.finishEditing(cell, refocus);
    };
    // Every change of the selection is stored at once; the list stays open until it is left.
    select.addEventListener('change', () => {
      if (this.session.commitCellChoice(row, column, select.selectedIndex)) this.hooks.changed();
      this.fill();
    });
    select.addEventListener('keydown', (e) => {
      if (e.key === 'Enter' || e.key === 'Escape') { e.preventDefault(); close(false); }
      else if (e.key === 'Tab') {
        e.preventDefault();
        close(false);
        this.moveOn(row, column, e);
      }
      e.stopPropagation();
    });
    select.addEventListener('blur', () => close(false, false));
    this.editing = { close };
    cell.replaceChildren(select);
    select.focus();
  }
}

// The entry the list opens on: the first whose text begins with the cell's, searching from the
// second entry round to the first, so an empty cell opens on the second entry. Nothing is stored.
export function InitialChoice(entries: string[], text: string): number {
  const wanted = text.toLowerCase();
  for (let k = 1; k <= entries.length; k++) {
    const position = k % entries.length;
    if (entries[position]!.toLowerCase().startsWith(wanted)) return position;
  }
  return -1;
}
