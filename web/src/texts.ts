// The page's texts come from the desktop's language files through the core's lookup. Commands
// are named by the desktop's menu texts, so a screen reader (and a test) finds them the same way.
import type { Session } from './core.js';

export type LanguageName = 'english' | 'chinese';

const kStorageKey = 'halyx.language';

// Remembered choice first; on the first visit the browser's own language decides.
export function initialLanguage(): LanguageName {
  const stored = localStorage.getItem(kStorageKey);
  if (stored === 'english' || stored === 'chinese') return stored;
  return navigator.language.toLowerCase().startsWith('zh') ? 'chinese' : 'english';
}

export function rememberLanguage(language: LanguageName): void {
  localStorage.setItem(kStorageKey, language);
}

const kLanguageFiles = ['english.lang', 'chinese.lang'];

export function fetchLanguages(): Promise<string[]> {
  return Promise.all(kLanguageFiles.map(async (name) => (await fetch(`lang/${name}`)).text()));
}

export function installLanguages(session: Session, contents: string[]): void {
  kLanguageFiles.forEach((name, i) => session.installLanguageFile(name, contents[i] ?? ''));
}

// A menu text as a plain name: without its access-key marker ("&Open..." is "Open...").
export function withoutAccessKey(text: string): string {
  return text.replace(/&(.)/g, '$1');
}

export class Texts {
  constructor(private readonly session: Session) {}

  // Keys of the original range: empty when the language file lacks them, as on the desktop.
  key(key: string): string {
    return this.session.langString(key);
  }

  // Newer keys fall back to the built-in English text.
  or(key: string, english: string): string {
    return this.session.textOr(key, english);
  }

  command(key: string, english?: string): string {
    return withoutAccessKey(english === undefined ? this.key(key) : this.or(key, english));
  }
}

// Texts the page adds to the desktop's.
export const kNoWebSerial = {
  key: 'S0210',
  english: 'This browser cannot reach serial ports (Web Serial is missing). Everything else works; ' +
    'to read or write a radio use Chrome, Edge or Opera on a computer.',
};
