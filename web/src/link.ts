// The serial port and the pace of an exchange. The core decides every frame, time-out and retry;
// this file only moves bytes between it and the port and gives it a tick every 10 ms.
import type { LinkEvent, Session } from './core.js';

const kTickMs = 10;
// A tab in the background gets its timers slowed; never count more than this at once.
const kMaxTicksAtOnce = 50;

export function hasWebSerial(): boolean {
  return 'serial' in navigator && navigator.serial !== undefined;
}

export class RadioLink {
  private port: SerialPort | null = null;
  private isOpen = false;
  private writer: WritableStreamDefaultWriter<Uint8Array> | null = null;
  private reader: ReadableStreamDefaultReader<Uint8Array> | null = null;
  private timer: number | undefined;
  private onEvent: ((event: LinkEvent) => void) | null = null;

  constructor(private readonly session: Session) {}

  // Forgets the chosen port, so the next command asks for one again (the page's port settings).
  async choosePortAgain(): Promise<void> {
    await this.close();
    this.port = null;
  }

  // Opens the port if it is not open: the picker on first use, then the same port every time.
  async open(): Promise<boolean> {
    if (this.isOpen) return true;
    try {
      if (!this.port) this.port = await navigator.serial!.requestPort();
      await this.port.open({ baudRate: 9600, dataBits: 8, stopBits: 1, parity: 'none', flowControl: 'none' });
    } catch {
      return false;
    }
    this.isOpen = true;
    this.writer = this.port.writable!.getWriter();
    void this.readLoop(this.port.readable!.getReader());
    return true;
  }

  async close(): Promise<void> {
    if (!this.isOpen || !this.port) return;
    this.isOpen = false;
    try {
      await this.reader?.cancel();
      this.writer?.releaseLock();
      await this.port.close();
    } catch {
      // A port that vanished is closed already.
    }
    this.reader = null;
    this.writer = null;
  }

  private async readLoop(reader: ReadableStreamDefaultReader<Uint8Array>): Promise<void> {
    this.reader = reader;
    try {
      for (;;) {
        const { value, done } = await reader.read();
        if (done) break;
        if (value && value.length) {
          this.session.receive(value);
          this.flush();
        }
      }
    } catch {
      // The cable was pulled: the exchange runs into its time-outs and fails as it should.
    } finally {
      reader.releaseLock();
    }
  }

  // Starts an exchange; events arrive through `onEvent` until the "finished" one.
  run(start: () => void, onEvent: (event: LinkEvent) => void): void {
    this.onEvent = onEvent;
    start();
    this.flush();
    let last = performance.now();
    this.timer = window.setInterval(() => {
      const now = performance.now();
      let ticks = 0;
      while (now - last >= kTickMs && ticks < kMaxTicksAtOnce) {
        last += kTickMs;
        ticks++;
        this.session.tick();
      }
      if (ticks === kMaxTicksAtOnce) last = now;
      this.flush();
    }, kTickMs);
  }

  // The dialog was closed while the exchange ran: it stops without a result; the port stays open.
  cancel(): void {
    this.session.cancelExchange();
    this.stop();
  }

  private stop(): void {
    window.clearInterval(this.timer);
    this.timer = undefined;
    this.onEvent = null;
  }

  private flush(): void {
    const out = this.session.takeOutgoing();
    if (out.length && this.writer) void this.writer.write(out).catch(() => undefined);
    const handler = this.onEvent;
    for (const event of this.session.takeEvents()) {
      if (event.type === 'finished') this.stop();
      handler?.(event);
    }
  }
}
