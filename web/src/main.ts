// The page: boots the core, builds the main form and binds the commands to it.
import type { HalyxCore, Session } from './core.js';
import { element } from './dialogs.js';
import { ChannelGrid } from './grid.js';
import { hasWebSerial, RadioLink } from './link.js';
import { SettingsPanel } from './panel.js';
import { openRowMenu } from './row_menu.js';
import { Commands } from './commands.js';
import { fetchLanguages, initialLanguage, installLanguages, kNoWebSerial, rememberLanguage, Texts, type LanguageName } from './texts.js';

async function loadCore(): Promise<HalyxCore> {
  const url = new URL('../core/halyx_core.mjs', import.meta.url).href;
  const module = (await import(url)) as { default: () => Promise<HalyxCore> };
  return module.default();
}

export class App {
  readonly texts: Texts;
  readonly link: RadioLink;
  readonly grid: ChannelGrid;
  readonly panel: SettingsPanel;
  readonly commands: Commands;
  private readonly notice = element('p', { class: 'notice', role: 'status' });
  private readonly heading = element('h1');
  language: LanguageName = 'english';

  constructor(readonly core: HalyxCore, readonly session: Session) {
    this.texts = new Texts(session);
    this.link = new RadioLink(session);
    this.grid = new ChannelGrid(session, {
      changed: () => this.changed(),
      rowMenu: (channel, anchor) => openRowMenu(session, this.texts, channel, anchor, () => this.changed()),
    });
    this.panel = new SettingsPanel(core, session, () => this.changed());
    this.commands = new Commands(this);
  }

  mount(root: HTMLElement): void {
    const form = element('main', { class: 'form' });
    form.append(this.grid.table, this.panel.root);
    root.replaceChildren(this.heading, this.commands.toolbar, this.notice, form);
    this.notice.hidden = hasWebSerial();
  }

  setLanguage(language: LanguageName): void {
    this.language = language;
    this.session.useLanguageFile(`${language}.lang`);
    rememberLanguage(language);
    document.documentElement.lang = language === 'chinese' ? 'zh-CN' : 'en';
    document.title = this.texts.key('S0000');
    this.heading.textContent = document.title;
    this.notice.textContent = this.texts.or(kNoWebSerial.key, kNoWebSerial.english);
    this.grid.label(this.texts.or('S0254', 'Channel rows'));
    this.commands.localise();
    this.panel.localise(this.texts);
    this.grid.fill();
  }

  // The image changed as a whole or in part: show it again everywhere.
  refresh(): void {
    this.grid.fill();
    this.panel.fill();
    this.commands.updateStates();
  }

  changed(): void {
    this.refresh();
  }
}

async function boot(): Promise<void> {
  // The core, the language files and the default image travel at the same time.
  const image = fetch('default.kda').then((response) => response.arrayBuffer());
  const languages = fetchLanguages();
  const core = await loadCore();
  const session = new core.Session();
  installLanguages(session, await languages);
  const app = new App(core, session);
  session.loadImage(new Uint8Array(await image), 'default.kda');
  app.mount(document.getElementById('app')!);
  app.setLanguage(initialLanguage());  // fills the whole form in that language
  document.body.dataset.ready = 'true';
  // When the grid became usable, for the load-time budget (milliseconds since navigation).
  document.body.dataset.readyMs = String(Math.round(performance.now()));
  (window as unknown as { halyx: App }).halyx = app;
  if ('serviceWorker' in navigator) void navigator.serviceWorker.register('sw.js').catch(() => undefined);
}

void boot();
