// The common settings: each control shows one header field and stores it the moment it changes.
import type { HalyxCore, Panel, PanelListName, Session } from './core.js';
import { element } from './dialogs.js';
import type { Texts } from './texts.js';

type ListName = PanelListName | 'band';

// Label keys as the desktop's settings group uses them; the time-out label is not translated.
const kLists: { name: ListName; label: string | null }[] = [
  { name: 'band', label: 'S0017' },
  { name: 'timeOut', label: null },
  { name: 'voxLevel', label: 'S0019' },
  { name: 'squelchLevel', label: 'S0105' },
  { name: 'settingsChannel', label: 'S0081' },
];
const kAfterTexts: { name: ListName; label: string }[] = [
  { name: 'language', label: 'S0111' },
  { name: 'txPower', label: 'S0116' },
];

export class SettingsPanel {
  readonly root = element('fieldset', { class: 'panel' });
  private readonly legend = element('legend');
  private readonly lists = new Map<ListName, { select: HTMLSelectElement; label: HTMLLabelElement; key: string | null }>();
  private readonly serial = element('input', { type: 'text', id: 'serial-number', maxlength: '10', autocomplete: 'off' });
  private readonly userId = element('input', { type: 'text', id: 'user-id', maxlength: '6', autocomplete: 'off' });
  private readonly serialLabel = element('label', { for: 'serial-number' });
  private readonly userIdLabel = element('label', { for: 'user-id' });
  private readonly scramble = element('input', { type: 'checkbox', id: 'scramble' });
  private readonly compand = element('input', { type: 'checkbox', id: 'compand' });
  private readonly scrambleLabel = element('label', { for: 'scramble' });
  private readonly compandLabel = element('label', { for: 'compand' });

  constructor(private readonly core: HalyxCore, private readonly session: Session,
              private readonly changed: () => void) {
    this.root.append(this.legend);
    for (const { name, label } of kLists) this.addList(name, label);
    this.addRow(this.serialLabel, this.serial);
    this.addRow(this.userIdLabel, this.userId);
    for (const { name, label } of kAfterTexts) this.addList(name, label);
    this.addRow(this.scramble, this.scrambleLabel, 'check');
    this.addRow(this.compand, this.compandLabel, 'check');
    this.lists.get('band')!.select.disabled = true;

    this.filterTyping(this.serial, (text) => this.core.acceptsSerialNumber(text));
    this.filterTyping(this.userId, (text) => this.core.acceptsUserId(text));
    this.serial.addEventListener('change', () => this.storeText('serialNumber', this.serial));
    this.userId.addEventListener('change', () => this.storeText('userId', this.userId));
    this.scramble.addEventListener('change', () => this.stored(this.session.setPanelCheck('scramble', this.scramble.checked)));
    this.compand.addEventListener('change', () => this.stored(this.session.setPanelCheck('compand', this.compand.checked)));
  }

  private addRow(first: HTMLElement, second: HTMLElement, kind = 'field'): void {
    const row = element('div', { class: `row ${kind}` });
    row.append(first, second);
    this.root.append(row);
  }

  private addList(name: ListName, key: string | null): void {
    const id = `setting-${name}`;
    const select = element('select', { id });
    const label = element('label', { for: id });
    if (key === null) label.textContent = 'TOT';
    this.lists.set(name, { select, label, key });
    this.addRow(label, select);
    if (name !== 'band') {
      select.addEventListener('change', () =>
        this.stored(this.session.setPanelChoice(name, select.selectedIndex)));
    }
  }

  // Refuses a keystroke or paste that would make the text one the field cannot hold.
  private filterTyping(input: HTMLInputElement, accepts: (text: string) => boolean): void {
    let last = input.value;
    input.addEventListener('focus', () => { last = input.value; });
    input.addEventListener('input', () => {
      if (accepts(input.value)) last = input.value;
      else input.value = last;
    });
  }

  private storeText(name: 'serialNumber' | 'userId', input: HTMLInputElement): void {
    this.stored(this.session.setPanelText(name, input.value));
  }

  private stored(changed: boolean): void {
    if (changed) this.changed();
  }

  // Texts of the current language: the group, the labels and the lists' entries.
  localise(texts: Texts): void {
    this.legend.textContent = texts.key('S0014');
    for (const { label, key } of this.lists.values()) {
      if (key !== null) label.textContent = texts.key(key);
    }
    this.serialLabel.textContent = texts.key('S0080');
    this.userIdLabel.textContent = texts.key('S0016');
    this.scrambleLabel.textContent = texts.key('S0114');
    this.compandLabel.textContent = texts.key('S0115');
    this.fill(true);
  }

  fill(rebuildLists = false): void {
    const panel: Panel = this.session.panel();
    for (const [name, { select }] of this.lists) {
      const list = panel[name];
      if (rebuildLists || select.options.length !== list.entries.length) {
        select.replaceChildren(...list.entries.map((text) => element('option', {}, text)));
      }
      if (list.selected !== null) select.selectedIndex = list.selected;
    }
    this.scramble.checked = panel.scramble;
    this.compand.checked = panel.compand;
    if (document.activeElement !== this.serial) this.serial.value = panel.serialNumber;
    if (document.activeElement !== this.userId) this.userId.value = panel.userId;
  }
}
