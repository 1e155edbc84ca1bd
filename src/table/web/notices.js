// The GM page's notices: a strip above the map, the newest first. Information
// goes by itself after a while; a warning or an error stays until dismissed or
// until its cause is gone.

const NOTICE_MS = 8000;
const list = () => document.getElementById('notices');

// A notice with a cause ('connection') goes when that cause does, and one
// notice a cause is enough.
export function addNotice(level, text, cause = '') {
  if (cause) dismissNotices(cause);
  const item = document.createElement('li');
  item.className = `notice ${level === 'error' || level === 'warning' ? level : 'info'}`;
  item.dataset.cause = cause;
  const words = document.createElement('span');
  words.className = 'notice-text';
  words.textContent = words.title = String(text ?? '');
  item.append(words);
  const dismiss = document.createElement('button');
  dismiss.type = 'button';
  dismiss.textContent = '×';
  dismiss.setAttribute('aria-label', 'Dismiss this notice');
  dismiss.addEventListener('click', () => item.remove());
  item.append(dismiss);
  const notices = list();
  notices.prepend(item); // the newest first, where the eye is
  while (notices.children.length > 3) notices.lastElementChild.remove();
  if (level === 'info') setTimeout(() => item.remove(), NOTICE_MS);
}

export function dismissNotices(cause) {
  for (const item of list().querySelectorAll(`[data-cause="${cause}"]`)) item.remove();
}
