// The game's settings in localStorage, one key each. A value that is missing,
// unreadable or out of range counts as absent, so the game takes its default.

const PREFIX = 'orbitfend.';

// How each setting is checked; the game's own defaults stand behind them.
const RULES = {
  highScore: { defaultValue: 0, valid: (v) => Number.isInteger(v) && v >= 0 && v <= 0xffffffff },
  volume: { defaultValue: 16, valid: (v) => Number.isInteger(v) && v >= 0 && v <= 64 },
  bindings: { defaultValue: {}, valid: (v) => v !== null && typeof v === 'object' && !Array.isArray(v) },
};

function storage() {
  try {
    return window.localStorage; // null, or throwing, when storage is switched off
  } catch {
    return null;
  }
}

// The stored value of `name`, or undefined when there is none fit to use.
export function readSetting(name) {
  const rule = RULES[name];
  const store = storage();
  if (!rule || !store) return undefined;
  let text;
  try {
    text = store.getItem(PREFIX + name);
  } catch {
    return undefined;
  }
  if (text === null) return undefined;
  try {
    const value = JSON.parse(text);
    return rule.valid(value) ? value : undefined;
  } catch {
    return undefined;
  }
}

// The value of `name` to use: the stored one, or the default.
export function setting(name) {
  const value = readSetting(name);
  return value === undefined ? RULES[name].defaultValue : value;
}

// Stores `value` for `name`; refuses (false) a value its rule does not allow.
export function writeSetting(name, value) {
  const rule = RULES[name];
  const store = storage();
  if (!rule || !store || !rule.valid(value)) return false;
  try {
    store.setItem(PREFIX + name, JSON.stringify(value));
    return true;
  } catch {
    return false; // full, or switched off
  }
}

export function allSettings() {
  return Object.fromEntries(Object.keys(RULES).map((name) => [name, setting(name)]));
}

export const settingNames = Object.keys(RULES);
