// Modal boxes of the page: the message box (caption, text, buttons) and small helpers. Built on
// <dialog>, so focus is trapped and Escape closes them as in the desktop's boxes.

export interface BoxButton {
  label: string;
  value: string;
}

function element<K extends keyof HTMLElementTagNameMap>(
  tag: K, attributes: Record<string, string> = {}, text = ''): HTMLElementTagNameMap[K] {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, value);
  if (text) node.textContent = text;
  return node;
}
export { element };

// Shows a modal box and resolves with the chosen button's value ("" when dismissed with Escape).
export function messageBox(caption: string, text: string | Node, buttons: BoxButton[],
                           alert = true): Promise<string> {
  const dialog = element('dialog', { class: 'box', 'aria-labelledby': 'box-caption' });
  if (alert) dialog.setAttribute('role', 'alertdialog');
  const heading = element('h2', { id: 'box-caption' }, caption);
  const body = element('div', { class: 'box-text', id: 'box-text' });
  dialog.setAttribute('aria-describedby', 'box-text');
  if (typeof text === 'string') body.textContent = text; else body.append(text);
  const row = element('div', { class: 'buttons' });
  for (const button of buttons) {
    const node = element('button', { type: 'button', value: button.value }, button.label);
    node.addEventListener('click', () => dialog.close(button.value));
    row.append(node);
  }
  dialog.append(heading, body, row);
  document.body.append(dialog);
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => {
      dialog.remove();
      resolve(dialog.returnValue);
    });
    dialog.showModal();
    (row.firstElementChild as HTMLElement | null)?.focus();
  });
}

// Offers bytes as a download under `name`.
export function download(bytes: BlobPart, name: string, type: string): void {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = element('a', { href: url, download: name });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

export interface PickedFile {
  name: string;
  bytes: Uint8Array;
}

// Lets the user pick one file: the File System Access picker where the browser has one, a file
// input elsewhere. Resolves with null when the user cancels.
export async function pickFile(accept: string, description: string): Promise<PickedFile | null> {
  const picker = (window as unknown as { showOpenFilePicker?: (o: object) => Promise<FileSystemFileHandle[]> })
    .showOpenFilePicker;
  if (picker) {
    try {
      const [handle] = await picker({ types: [{ description, accept: { 'application/octet-stream': [accept] } }] });
      if (!handle) return null;
      const file = await handle.getFile();
      return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };
    } catch {
      return null;
    }
  }
  return new Promise((resolve) => {
    const input = element('input', { type: 'file', accept, hidden: '' });
    input.addEventListener('change', async () => {
      const file = input.files?.[0];
      input.remove();
      resolve(file ? { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) } : null);
    });
    input.addEventListener('cancel', () => { input.remove(); resolve(null); });
    document.body.append(input);
    input.click();
  });
}

// Saves bytes under a name the user picks (File System Access), or downloads them.
export async function saveFile(bytes: BlobPart, suggested: string, accept: string,
                               description: string, type: string): Promise<void> {
  const picker = (window as unknown as { showSaveFilePicker?: (o: object) => Promise<FileSystemFileHandle> })
    .showSaveFilePicker;
  if (!picker) {
    download(bytes, suggested, type);
    return;
  }
  let handle: FileSystemFileHandle;
  try {
    handle = await picker({ suggestedName: suggested, types: [{ description, accept: { [type]: [accept] } }] });
  } catch {
    return;  // cancelled
  }
  const writable = await (handle as unknown as { createWritable(): Promise<FileSystemWritableFileStream> })
    .createWritable();
  await writable.write(bytes);
  await writable.close();
}
