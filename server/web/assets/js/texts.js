// Every text of the page, in Czech (the window's own words) and English.
// Elements name their text with data-text (content), data-text-label
// (aria-label) or data-text-title (title); code uses t().

const Texts = {
  title: ['DNX8 config', 'DNX8 config'],
  language: ['English', 'Česky'],
  languageName: ['Switch to English', 'Přepnout do češtiny'],
  main: ['Převodník', 'Converter'],

  port: ['Port:', 'Port:'],
  connect: ['Připojit Port', 'Connect Port'],
  disconnect: ['Odpojit Port', 'Disconnect Port'],
  converters: ['Převodníky', 'Converters'],
  stateConnected: ['Připojen', 'Connected'],
  stateConnecting: ['Připojování…', 'Connecting…'],
  stateDisconnected: ['Odpojen', 'Disconnected'],
  noConverter: ['Zadejte port a připojte převodník.', 'Enter a port and connect a converter.'],
  readOnly: ['Jen pro čtení: zápis je vypnut.', 'Read only: writing is switched off.'],

  identity: ['Převodník:', 'Converter:'],
  firmware: ['Firmware', 'Firmware'],
  serialNumber: ['Výrobní číslo:', 'Serial number:'],
  output: ['Výstup:', 'Output:'],
  relays: ['Relé:', 'Relays:'],

  input: ['Vstup:', 'Input:'],
  measurement: ['Měření:', 'Measurement:'],
  filter: ['Filtr:', 'Filter:'],
  scaleMin: ['Min:', 'Min:'],
  scaleMax: ['Max:', 'Max:'],
  write: ['Zápis', 'Write'],
  writeFilter: ['Zápis Filtr', 'Write Filter'],
  writeMin: ['Zápis Min', 'Write Min'],
  writeMax: ['Zápis Max', 'Write Max'],
  writeErrorState: ['Zápis Chybový stav', 'Write Error state'],
  writeRelay1: ['Zápis Relé 1', 'Write Relay 1'],
  writeRelay2: ['Zápis Relé 2', 'Write Relay 2'],

  errorState: ['Chybový stav:', 'Error state:'],
  errorState0: ['Bez signalizace', 'No signalling'],
  errorState1: ['Podproud', 'Under-current'],
  errorState2: ['Nadproud', 'Over-current'],
  errorState3: ['Podle vstupu', 'According to input'],

  internalValues: ['Interní hodnoty:', 'Internal values:'],
  liveInput: ['Vstup:', 'Input:'],
  liveProcess: ['Proces:', 'Process:'],
  liveValue: ['Hodnota:', 'Value:'],
  liveRatio: ['Ratio [%]:', 'Ratio [%]:'],
  faultPorucha: ['Porucha', 'Fault'],
  faultNeplatna: ['Neplatná', 'Invalid'],

  relay1: ['Relé 1:', 'Relay 1:'],
  relay2: ['Relé 2:', 'Relay 2:'],
  hysteresis: ['Hystereze', 'Hysteresis'],
  window: ['Okno', 'Window'],
  columnValue: ['Hodnota', 'Value'],
  columnDelay: ['Zpoždění', 'Delay'],
  switchOn: ['Sepnutí', 'Switch on'],
  switchOff: ['Rozepnutí', 'Switch off'],

  trend: ['Trend', 'Trend'],
  seriesInput: ['Vstup', 'Input'],
  seriesProcess: ['Proces', 'Process'],
  seriesValue: ['Hodnota', 'Value'],
  seriesRatio: ['Ratio [%]', 'Ratio [%]'],
  trendSpan: ['Zobrazit posledních', 'Show the last'],
  minutes: ['min', 'min'],
  pause: ['Pozastavit trend', 'Pause trend'],
  resume: ['Pokračovat v trendu', 'Resume trend'],
  exportCsv: ['Export trendu do CSV', 'Export trend as CSV'],
  trendPoints: ['Bodů v trendu:', 'Points in trend:'],
  trendPaused: ['Trend pozastaven', 'Trend paused'],

  communicationError: ['Chyba komunikace', 'Communication error'],
  written: ['Zapsáno', 'Written'],
  clipped: ['Převodník uložil jinou hodnotu', 'The converter stored another value'],
  problemNumber: ['Zadejte číslo s desetinnou tečkou, např. 12.5', 'Enter a number with a decimal point, e.g. 12.5'],
  problemComma: ['Desetinná čárka se nečte: napište 12.5, ne 12,5', 'A decimal comma is not read: type 12.5, not 12,5'],
  problemRange: ['Číslo je mimo rozsah převodníku', 'The number is beyond the converter\'s range'],
  problemWhole: ['Zadejte celé číslo 0 až 65535', 'Enter a whole number from 0 to 65535'],
  problemDelay: ['Zpoždění je 0 až 65535', 'The delay is 0 to 65535'],
  problemChoice: ['Vyberte jednu z možností', 'Choose one of the options'],
  refused: ['Odmítnuto:', 'Refused:'],

  inputKind0: ['Napětí', 'Voltage'],
  inputKind1: ['Proud', 'Current'],
  inputKind2: ['Odpor', 'Resistance'],
  inputKind3: ['Potenciometr', 'Potentiometer'],
  inputKind4: ['Teploměr', 'Resistance thermometer'],
  inputKind5: ['Termočlánek', 'Thermocouple'],

  output0: ['Pasivní 4 až 20 mA', 'Passive 4 to 20 mA'],
  output1: ['Aktivní 0 až 20 mA', 'Active 0 to 20 mA'],
  output2: ['Aktivní 0 až 5 V', 'Active 0 to 5 V'],
  output3: ['Aktivní 0 až 10 V', 'Active 0 to 10 V'],
  output4: ['Aktivní 0 až 22 mV', 'Active 0 to 22 mV'],
  output5: ['Aktivní 0 až 80 mV', 'Active 0 to 80 mV'],
  relayOptions0: ['Bez relé', 'No relay'],
  relayOptions1: ['Relé 1', 'Relay 1'],
  relayOptions2: ['Relé 2', 'Relay 2'],
  relayOptions3: ['Relé 1 a 2', 'Relays 1 and 2'],

  record: ['Protokol o nastavení', 'Commissioning record'],
  recordHint: ['Měřicí místo a jméno technika se vytisknou v protokolu; zákazník a technik jej podepíší.',
    'The measuring point and the technician\'s name are printed on the record, which the customer and the technician sign.'],
  recordTag: ['Označení:', 'Tag:'],
  recordLocation: ['Umístění:', 'Location:'],
  recordTechnician: ['Technik:', 'Technician:'],
  recordNote: ['Poznámka:', 'Note:'],
  recordOpen: ['Otevřít protokol v nové kartě', 'Open the record in a new tab'],
  recordProblemLength: ['Text je pro protokol příliš dlouhý', 'The text is too long for the record'],
  recordProblemLines: ['Poznámka má nejvýše 4 řádky', 'The note has at most 4 lines'],
};

const Languages = ['cs', 'en'];
let current = 'cs';

// Czech when the browser prefers it (or Slovak), else English.
export function preferredLanguage(stored, browserLanguages) {
  if (Languages.includes(stored)) return stored;
  for (const tag of browserLanguages || []) {
    const primary = String(tag).toLowerCase().split('-')[0];
    if (primary === 'cs' || primary === 'sk') return 'cs';
    if (primary === 'en') return 'en';
  }
  return 'en';
}

export function language() {
  return current;
}

export function setLanguage(code) {
  current = Languages.includes(code) ? code : 'cs';
}

export function t(key) {
  const entry = Texts[key];
  if (!entry) return key;
  return entry[current === 'en' ? 1 : 0];
}

// Fills every marked element under root with the current language's text.
export function applyTexts(root) {
  for (const el of root.querySelectorAll('[data-text]')) el.textContent = t(el.dataset.text);
  for (const el of root.querySelectorAll('[data-text-label]')) {
    el.setAttribute('aria-label', el.dataset.textLabel.split(' ').map(t).join(' '));
  }
  for (const el of root.querySelectorAll('[data-text-title]')) el.title = t(el.dataset.textTitle);
}

// The converter's fault texts ("Porucha", "Neplatná") in the page's language.
export function faultText(czech) {
  if (czech === 'Porucha') return t('faultPorucha');
  if (czech === 'Neplatná') return t('faultNeplatna');
  return czech;
}
