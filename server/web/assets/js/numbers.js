// Numbers as the main window shows and reads them: "." as the decimal point
// whatever the language, the window's rounding, the window's grammar for
// typed reals. Values from the server are float32 sent as the shortest
// decimal that reads back to the same float, so a JS number holds them
// exactly.

const TextLimit = 31;
const Significant = 10;

// The exact decimal digits of a finite non-negative double and the power of
// ten of the first one: x = 0.d1d2d3... * 10^point.
function exactDigits(x) {
  if (x === 0) return { digits: '0', point: 1 };
  const view = new DataView(new ArrayBuffer(8));
  view.setFloat64(0, x);
  const high = view.getUint32(0);
  const low = view.getUint32(4);
  const biased = (high >>> 20) & 0x7ff;
  let mantissa = (BigInt(high & 0xfffff) << 32n) | BigInt(low);
  let exponent;
  if (biased === 0) {
    exponent = -1074;
  } else {
    mantissa |= 1n << 52n;
    exponent = biased - 1075;
  }
  let digits;
  let point;
  if (exponent >= 0) {
    digits = (mantissa << BigInt(exponent)).toString();
    point = digits.length;
  } else {
    // m / 2^k = m * 5^k / 10^k
    digits = (mantissa * 5n ** BigInt(-exponent)).toString();
    point = digits.length + exponent;
  }
  const trimmed = digits.replace(/0+$/, '');
  return { digits: trimmed || '0', point };
}

function addOne(digits) {
  const chars = digits.split('');
  for (let i = chars.length - 1; i >= 0; --i) {
    if (chars[i] !== '9') {
      chars[i] = String.fromCharCode(chars[i].charCodeAt(0) + 1);
      return { text: chars.join(''), carry: false };
    }
    chars[i] = '0';
  }
  return { text: '1' + chars.join(''), carry: true };
}

// The magnitude rounded to 10 significant digits, a tie to the even digit:
// digit i stands for 10^(exponent - i).
function tenDigits(magnitude) {
  const { digits, point } = exactDigits(magnitude);
  if (digits === '0') return { digits: '0'.repeat(Significant), exponent: 0 };
  let kept = digits.slice(0, Significant).padEnd(Significant, '0');
  let exponent = point - 1;
  const rest = digits.slice(Significant);
  if (rest !== '') {
    const first = rest.charCodeAt(0) - 48;
    const beyondHalf = first > 5 || (first === 5 && /[1-9]/.test(rest.slice(1)));
    const tie = first === 5 && !beyondHalf;
    const odd = (kept.charCodeAt(Significant - 1) - 48) % 2 === 1;
    if (beyondHalf || (tie && odd)) {
      const sum = addOne(kept);
      kept = sum.text.slice(0, Significant);
      if (sum.carry) exponent += 1;
    }
  }
  return { digits: kept, exponent };
}

// Rounding of the 10-digit form: half up, and dropped digits 4, 9..9, 8 or
// 9, one more digit round up as well (1.004999995 gives 1.01).
function roundsUp(dropped) {
  if (dropped === '') return false;
  if (dropped[0] >= '5') return true;
  return /^49+[89]\d$/.test(dropped);
}

function nonFinite(value) {
  if (Number.isNaN(value)) return 'nan';
  return value < 0 ? '-inf' : 'inf';
}

// Exponent form with 10 significant digits: 1.000000000E+00.
export function realAutoText(value) {
  if (!Number.isFinite(value)) return nonFinite(value);
  const { digits, exponent } = tenDigits(Math.abs(value));
  const sign = value < 0 ? '-' : '';
  const power = String(Math.abs(exponent)).padStart(2, '0');
  return `${sign}${digits[0]}.${digits.slice(1)}E${exponent < 0 ? '-' : '+'}${power}`;
}

// Fixed point with exactly `decimals` digits after the point, as the
// window's value fields show a float.
export function realText(value, decimals) {
  if (!Number.isFinite(value)) return nonFinite(value);
  const places = Math.max(0, Math.min(decimals, 2 * TextLimit));
  const negative = value < 0;
  const rounded = tenDigits(Math.abs(value));
  let whole = '';
  let fraction = '';
  if (rounded.exponent >= 0) {
    for (let i = 0; i <= rounded.exponent; ++i) whole += i < Significant ? rounded.digits[i] : '0';
    if (rounded.exponent + 1 < Significant) fraction = rounded.digits.slice(rounded.exponent + 1);
  } else {
    whole = '0';
    fraction = '0'.repeat(-rounded.exponent - 1) + rounded.digits;
  }
  let digits = (whole + fraction.slice(0, places)).padEnd(whole.length + places, '0');
  if (places < fraction.length && roundsUp(fraction.slice(places))) digits = addOne(digits).text;
  const wholeLength = digits.length - places;
  const sign = negative ? '-' : '';
  // Cutting digits off the whole part would show another number.
  if (sign.length + wholeLength > TextLimit) return realAutoText(value);
  let text = sign + digits.slice(0, wholeLength);
  if (places > 0) text += '.' + digits.slice(wholeLength);
  return text.slice(0, TextLimit);
}

// A typed real as the window's edit fields read it: optional leading blanks
// and tabs, an optional sign, digits with an optional "." and fraction, an
// optional exponent, nothing after. The window reads anything else as 0 and
// writes that 0; here it is refused instead, and so is a value that is no
// finite float32. Returns {value} or {problem} ("comma", "number", "range").
export function readReal(text) {
  const match = /^[ \t]*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)$/.exec(text);
  if (!match) {
    return { problem: /^[ \t]*[+-]?\d*,\d/.test(text) ? 'comma' : 'number' };
  }
  const value = Math.fround(Number(match[1]));
  if (!Number.isFinite(value)) return { problem: 'range' };
  return { value };
}

// A relay delay: the window's field takes digits only and sends the low 16
// bits of what it reads; here a value beyond 0..65535 is refused.
export function readDelay(text) {
  const match = /^[ \t]*(\d+)[ \t]*$/.exec(text);
  if (!match) return { problem: 'whole' };
  const value = Number(match[1]);
  if (value > 65535) return { problem: 'delay' };
  return { value };
}

// The four live values as the window shows them: decimals and fault texts.
export const LiveQuantities = [
  { key: 'input', csv: 'input', decimals: 3 },
  { key: 'process', csv: 'process', decimals: 3 },
  { key: 'value', csv: 'value', decimals: 2 },
  { key: 'ratio', csv: 'ratio_percent', decimals: 2 },
];

// The shown number of a live value; the ratio comes as a fraction and is
// shown in per cent, multiplied in float32 as the window does.
export function liveNumber(key, value) {
  return key === 'ratio' ? Math.fround(value * 100) : value;
}

export function liveText(quantity, value) {
  return realText(liveNumber(quantity.key, value), quantity.decimals);
}
