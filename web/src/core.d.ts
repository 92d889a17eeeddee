// The WebAssembly core as the page sees it: one Session per page, every rule inside it.

export interface LinkEvent {
  type: 'progress' | 'title' | 'finished';
  number: number;  // progress position; for "finished" 0 success, 1 link failure, 2 read-back differs
  text: string;    // title key; for "finished" the key of the result's message
}

export interface PanelList {
  entries: string[];
  selected: number | null;  // -1 no entry; null: leave the list as it was
}

export interface Panel {
  band: PanelList;
  timeOut: PanelList;
  voxLevel: PanelList;
  squelchLevel: PanelList;
  settingsChannel: PanelList;
  language: PanelList;
  txPower: PanelList;
  scramble: boolean;
  compand: boolean;
  serialNumber: string;
  userId: string;
}

export type PanelListName =
  'timeOut' | 'voxLevel' | 'squelchLevel' | 'settingsChannel' | 'language' | 'txPower';

export interface ImportReport {
  error?: string;
  imported?: number;
  notes?: { line: number; column: string; message: string }[];
}

export type RowCommandName =
  'copy' | 'cut' | 'paste' | 'clear' | 'moveUp' | 'moveDown' | 'insert' | 'delete';

export interface Session {
  installLanguageFile(name: string, content: string): void;
  useLanguageFile(name: string): void;
  langString(key: string): string;
  textOr(key: string, english: string): string;

  loadImage(bytes: Uint8Array, name: string): string;  // "" loaded, "-" refused silently, else the error text
  savedImage(): Uint8Array<ArrayBuffer>;
  imageBytes(): Uint8Array<ArrayBuffer>;
  imageLength(): number;
  undo(): boolean;
  redo(): boolean;
  canUndo(): boolean;
  canRedo(): boolean;

  headings(): string[];
  rows(): string[][];
  toneTexts(): string[];
  bandwidthTexts(): string[];
  commitCell(channel: number, column: number, text: string): boolean;
  commitCellChoice(channel: number, column: number, position: number): boolean;
  panel(): Panel;
  setPanelChoice(name: PanelListName, position: number): boolean;
  setPanelCheck(name: 'scramble' | 'compand', checked: boolean): boolean;
  setPanelText(name: 'serialNumber' | 'userId', text: string): boolean;
  rowCommand(command: RowCommandName, first: number, last: number): boolean;
  clipboardHasRows(): boolean;
  lastChannelInUse(): boolean;
  exportCsv(): string;
  importCsv(text: string, clearFirst: boolean): ImportReport;
  compareWith(bytes: Uint8Array, name: string): { error?: string; lines?: string[] };
  sheetHtml(fileName: string, date: string): string;

  startRead(): void;
  startWrite(): void;
  cancelExchange(): void;
  receive(bytes: Uint8Array): void;
  tick(): void;
  armedTimer(): number;
  takeOutgoing(): Uint8Array<ArrayBuffer>;
  takeEvents(): LinkEvent[];
}

export interface HalyxCore {
  Session: new () => Session;
  acceptsSerialNumber(text: string): boolean;
  acceptsUserId(text: string): boolean;
}
