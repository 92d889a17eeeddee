// The desktop's menu commands as a toolbar of named buttons, grouped as its menus are.
import type { App } from './main.js';
import { download, element, messageBox, pickFile, saveFile } from './dialogs.js';
import { runExchangeDialog } from './exchange_dialog.js';
import { hasWebSerial } from './link.js';
import type { LanguageName } from './texts.js';

interface CommandSpec {
  id: string;
  key: string;
  english?: string;  // for keys newer than the original range
  run: () => void | Promise<void>;
  needsSerial?: boolean;
}

export class Commands {
  readonly toolbar = element('nav', { class: 'toolbar' });
  private readonly buttons = new Map<string, HTMLButtonElement>();
  private readonly groups: { title: string; node: HTMLElement }[] = [];
  private fileName = 'default.kda';
  private busy = false;

  constructor(private readonly app: App) {
    this.group('S0037', [
      { id: 'new', key: 'S0053', run: () => this.newImage() },
      { id: 'open', key: 'S0054', run: () => this.open() },
      { id: 'save', key: 'S0055', run: () => this.save() },
      { id: 'import-csv', key: 'S0220', english: '&Import Channels (CSV)...', run: () => this.importCsv() },
      { id: 'export-csv', key: 'S0221', english: 'Export Channels (&CSV)...', run: () => this.exportCsv() },
      { id: 'sheet-pdf', key: 'S0222', english: 'Export Channel Sheet (&PDF)...', run: () => this.printSheet() },
      { id: 'sheet-html', key: 'S0223', english: 'Export Channel Sheet (&HTML)...', run: () => this.saveSheet() },
      { id: 'compare', key: 'S0224', english: 'Co&mpare with File...', run: () => this.compare() },
    ]);
    this.group('S0254', [
      { id: 'undo', key: 'S0248', english: 'Undo', run: () => this.undo(true) },
      { id: 'redo', key: 'S0249', english: 'Redo', run: () => this.undo(false) },
    ]);
    this.group('S0039', [
      { id: 'read', key: 'S0058', needsSerial: true, run: () => this.exchange('read') },
      { id: 'write', key: 'S0059', needsSerial: true, run: () => this.exchange('write') },
    ]);
    this.group('S0040', [
      { id: 'port', key: 'S0061', needsSerial: true, run: () => this.app.link.choosePortAgain() },
    ]);
    this.group('S0092', [
      { id: 'chinese', key: 'S0062', run: () => this.language('chinese') },
      { id: 'english', key: 'S0063', run: () => this.language('english') },
    ]);
    document.addEventListener('keydown', (e) => this.shortcut(e));
  }

  private specs: CommandSpec[] = [];

  private group(titleKey: string, commands: CommandSpec[]): void {
    const node = element('div', { role: 'group', class: 'group' });
    for (const spec of commands) {
      const button = element('button', { type: 'button', 'data-command': spec.id });
      button.addEventListener('click', async () => {
        if (this.busy) return;
        this.busy = true;
        try {
          await spec.run();
        } finally {
          this.busy = false;
          this.updateStates();
        }
      });
      if (spec.needsSerial && !hasWebSerial()) button.disabled = true;
      this.buttons.set(spec.id, button);
      this.specs.push(spec);
      node.append(button);
    }
    this.groups.push({ title: titleKey, node });
    this.toolbar.append(node);
  }

  localise(): void {
    const texts = this.app.texts;
    for (const group of this.groups) {
      group.node.setAttribute('aria-label', texts.command(group.title, group.title === 'S0254' ? 'Channel rows' : undefined));
    }
    for (const spec of this.specs) {
      this.buttons.get(spec.id)!.textContent = texts.command(spec.key, spec.english);
    }
    this.buttons.get('chinese')!.setAttribute('aria-pressed', String(this.app.language === 'chinese'));
    this.buttons.get('english')!.setAttribute('aria-pressed', String(this.app.language === 'english'));
    this.updateStates();
  }

  updateStates(): void {
    this.buttons.get('undo')!.disabled = !this.app.session.canUndo();
    this.buttons.get('redo')!.disabled = !this.app.session.canRedo();
  }

  private shortcut(e: KeyboardEvent): void {
    const target = e.target as HTMLElement;
    if (!e.ctrlKey || target.closest('input, select, dialog')) return;
    const key = e.key.toLowerCase();
    if (key === 'z' || key === 'y') {
      e.preventDefault();
      this.undo(key === 'z' && !e.shiftKey);
    }
  }

  private ok() {
    return [{ label: this.app.texts.key('S0049'), value: 'ok' }];
  }

  private yesNo() {
    return [{ label: this.app.texts.or('S0211', 'Yes'), value: 'yes' },
      { label: this.app.texts.or('S0212', 'No'), value: 'no' }];
  }

  private fileError(message: string): Promise<string> {
    return messageBox('Halyx', message, this.ok());
  }

  private async newImage(): Promise<void> {
    if ((await messageBox('CPS', this.app.texts.key('S0088'), this.yesNo())) !== 'yes') return;
    const response = await fetch('default.kda');
    const message = response.ok
      ? this.app.session.loadImage(new Uint8Array(await response.arrayBuffer()), 'default.kda')
      : this.app.session.loadImage(new Uint8Array(0), 'default.kda');
    if (message && message !== '-') await this.fileError(message);
    else this.fileName = 'default.kda';
    this.app.refresh();
  }

  private async open(): Promise<void> {
    const file = await pickFile('.kda', 'data File(*.kda)');
    if (!file) return;
    const message = this.app.session.loadImage(file.bytes, file.name);
    if (message === '-') return;  // longer than any image: refused without a word
    if (message) {
      await this.fileError(message);
      return;
    }
    this.fileName = file.name;
    this.app.refresh();
  }

  private async save(): Promise<void> {
    const bytes = this.app.session.savedImage();
    await saveFile(bytes, 'Default.kda', '.kda', 'Archive File(*.kda)', 'application/octet-stream');
  }

  private async importCsv(): Promise<void> {
    const texts = this.app.texts;
    const file = await pickFile('.csv', 'CSV');
    if (!file) return;
    // The buttons say what each answer does; Cancel (or Esc) imports nothing.
    const answer = await messageBox('CPS', texts.or('S0227', 'Empty all 20 channels before importing?'), [
      { label: texts.or('S0368', 'Empty all channels first'), value: 'yes' },
      { label: texts.or('S0369', 'Keep the other channels'), value: 'no' },
      { label: texts.or('S0050', 'Cancel'), value: '' }]);
    if (!answer) return;
    const report = this.app.session.importCsv(new TextDecoder().decode(file.bytes), answer === 'yes');
    if (report.error !== undefined) {
      await messageBox('CPS', report.error, this.ok());
      return;
    }
    this.app.refresh();
    const body = element('div');
    body.append(element('p', {}, texts.or('S0234', '%1 channels imported.').replace('%1', String(report.imported ?? 0))));
    if (report.notes?.length) {
      const table = element('table', { class: 'report' });
      const head = element('tr');
      for (const [key, english] of [['S0228', 'Line'], ['S0229', 'Column'], ['S0230', 'What was done']] as const) {
        head.append(element('th', { scope: 'col' }, texts.or(key, english)));
      }
      table.append(head);
      for (const note of report.notes) {
        const row = element('tr');
        row.append(element('td', {}, String(note.line)), element('td', {}, note.column), element('td', {}, note.message));
        table.append(row);
      }
      body.append(table);
    }
    await messageBox(texts.or('S0226', 'Import Report'), body, this.ok(), false);
  }

  private exportCsv(): void {
    download(this.app.session.exportCsv(), this.baseName() + '.csv', 'text/csv');
  }

  private baseName(): string {
    return this.fileName.replace(/\.[^.]*$/, '') || 'channels';
  }

  private sheet(): string {
    return this.app.session.sheetHtml(this.fileName, new Date().toLocaleString(document.documentElement.lang));
  }

  // The browser prints the sheet, or saves it as PDF from its print dialog.
  private printSheet(): void {
    const frame = element('iframe', { class: 'print-frame', title: this.app.texts.or('S0235', 'Channel Sheet') });
    frame.srcdoc = this.sheet();
    frame.addEventListener('load', () => {
      frame.contentWindow?.print();
      setTimeout(() => frame.remove(), 1000);
    });
    document.body.append(frame);
  }

  private saveSheet(): void {
    download(this.sheet(), this.baseName() + '.html', 'text/html');
  }

  private async compare(): Promise<void> {
    const file = await pickFile('.kda', 'data File(*.kda)');
    if (!file) return;
    const result = this.app.session.compareWith(file.bytes, file.name);
    if (result.error !== undefined) {
      if (result.error !== '-') await this.fileError(result.error);
      return;
    }
    const list = element('ul', { class: 'differences' });
    for (const line of result.lines ?? []) list.append(element('li', {}, line));
    await messageBox(this.app.texts.or('S0231', 'Compare with File'), list, this.ok(), false);
  }

  private undo(undo: boolean): void {
    if (undo ? this.app.session.undo() : this.app.session.redo()) this.app.refresh();
  }

  private async exchange(kind: 'read' | 'write'): Promise<void> {
    await runExchangeDialog(kind, this.app.session, this.app.link, this.app.texts, () => this.app.refresh());
    this.app.refresh();
  }

  private language(language: LanguageName): void {
    this.app.setLanguage(language);
  }
}
