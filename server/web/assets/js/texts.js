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

  // The bench and backup, restore, diff
  toBench: ['Přehled převodníků', 'All converters'],
  bench: ['Přehled převodníků', 'All converters'],
  benchEmpty: ['Žádný převodník není připojen.', 'No converter is connected.'],
  pickColumn: ['Výběr', 'Selection'],
  pick: ['Vybrat', 'Select'],
  open: ['Otevřít', 'Open'],
  benchPort: ['Port', 'Port'],
  benchIdentity: ['Převodník', 'Converter'],
  benchSerial: ['Výrobní číslo', 'Serial number'],
  benchInput: ['Vstup', 'Input'],
  benchProcess: ['Proces', 'Process'],
  benchState: ['Stav', 'State'],
  backupRestore: ['Záloha, obnovení, porovnání', 'Backup, restore, compare'],
  backupDownload: ['Stáhnout zálohu', 'Download backup'],
  backupSaved: ['Záloha stažena:', 'Backup downloaded:'],
  backupFile: ['Záloha:', 'Backup:'],
  restoreFile: ['Obnovit ze zálohy:', 'Restore from backup:'],
  diffFile: ['Porovnat se zálohou:', 'Compare with backup:'],
  restoreOf: ['Obnovení ze zálohy', 'Restore from'],
  diffOf: ['Porovnání se zálohou', 'Comparison with'],
  fileTooLarge: ['Soubor je větší než 64 KiB; záloha to není.', 'The file is larger than 64 KiB; it is no backup.'],
  fileUnreadable: ['Soubor nelze přečíst.', 'The file cannot be read.'],
  badBackup: ['Záloha odmítnuta, nic nebylo zapsáno:', 'Backup refused, nothing was written:'],
  planning: ['Zjišťuji, co se změní…', 'Finding out what will change…'],
  willChange: ['Zápis změní tyto parametry:', 'Writing changes these parameters:'],
  beforeWrite: ['Zatím se nic nezapsalo; zápis začne po potvrzení.', 'Nothing has been written yet; writing starts on confirmation.'],
  nothingChanges: ['Převodník už má hodnoty ze zálohy; zápis nic nezmění.', 'The converter holds the backup\'s values already; writing changes nothing.'],
  notRestorable: ['Co obnovení nevrátí:', 'What restore cannot put back:'],
  chooseLinearization: ['Vyberte, co s linearizací.', 'Choose what to do with the linearization.'],
  keepLinearization: ['Ponechat linearizaci převodníku', 'Keep the converter\'s linearization'],
  pointsLinearization: ['Linearizace ze souboru bodů', 'Linearization from a point file'],
  pointsFile: ['Soubor bodů:', 'Point file:'],
  pointsMethod: ['Proložení:', 'Fit:'],
  order: ['Polynom řádu', 'Polynomial of order'],
  spline: ['Lineární spline', 'Linear spline'],
  choosePoints: ['Vyberte soubor bodů.', 'Choose a point file.'],
  parameter: ['Parametr', 'Parameter'],
  inConverter: ['V převodníku', 'In the converter'],
  inBackup: ['Ze zálohy', 'From the backup'],
  readBack: ['Přečteno', 'Read back'],
  confirmWrite: ['Zapsat', 'Write'],
  cancel: ['Zrušit', 'Cancel'],
  close: ['Zavřít', 'Close'],
  restoreProgress: ['Průběh obnovení', 'Restore progress'],
  writing: ['Zapisuji a čtu zpět…', 'Writing and reading back…'],
  verified: ['Obnoveno a ověřeno.', 'Restored and verified.'],
  differences: ['Po zápisu se liší:', 'Differs after writing:'],
  restoreFailed: ['Obnovení selhalo:', 'Restore failed:'],
  comparing: ['Porovnávám…', 'Comparing…'],
  equal: ['Převodník odpovídá záloze.', 'The converter matches the backup.'],
  differ: ['Převodník se od zálohy liší:', 'The converter differs from the backup:'],
  batchRestore: ['Hromadné obnovení', 'Batch restore'],
  batchStart: ['Obnovit vybrané', 'Restore the selected'],
  batchNone: ['Vyberte převodníky v přehledu.', 'Select converters in the table.'],
  batchNoFile: ['Vyberte soubor zálohy.', 'Choose a backup file.'],
  batchQuestion: ['Zapsat zálohu do převodníků:', 'Write the backup into the converters:'],
  batchWaiting: ['Zapisuji…', 'Writing…'],
  batchVerified: ['ověřeno', 'verified'],
  batchDiffers: ['liší se', 'differs'],
  batchFailed: ['selhalo', 'failed'],
  batchSkipped: ['přeskočeno, nic nezapsáno', 'skipped, nothing written'],
  batchKeep: ['Zapsat, linearizaci ponechat', 'Write, keep the linearization'],
  preselected: ['Předvolba dialogu', 'The dialog\'s preselection'],
  batchSummary: ['Ověřeno {v}, s rozdíly {d}, selhalo {f}, přeskočeno {s} z {n}.',
    'Verified {v}, with differences {d}, failed {f}, skipped {s} of {n}.'],
  // The input configuration (input.js).
  inputConfig: ['Konfigurace vstupu', 'Input configuration'],
  inputConfigKind: ['Druh vstupu:', 'Kind of input:'],
  inputVariant: ['Vstup:', 'Input:'],
  inputDivider: ['Dělič [-]:', 'Divider [-]:'],
  inputShunt: ['Bočník [ohm]:', 'Shunt [ohm]:'],
  inputWiring: ['Zapojení:', 'Wiring:'],
  inputType: ['Typ:', 'Type:'],
  inputRange: ['Rozsah:', 'Range:'],
  rangeTo: [' až ', ' to '],
  inputOwnValue: ['Prázdné pole: převodník si ponechá svou hodnotu.', 'Left empty: the converter keeps its own value.'],
  linearization: ['Linearizace', 'Linearization'],
  linearizationOff: ['Vypnuta', 'Off'],
  linearizationOn: ['Zapnuta', 'On'],
  linearizationOverwrite: ['Přepsat', 'Overwrite'],
  fitFile: ['Soubor s body:', 'Point file:'],
  fitCaption: ['Nabízené metody: odchylky z koeficientů float32, jak je dostane převodník',
    'Offered methods: residuals of the float32 coefficients the converter gets'],
  fitPick: ['Volba', 'Choice'],
  fitMethod: ['Metoda', 'Method'],
  fitMax: ['Max. odchylka', 'Max. residual'],
  fitAt: ['při x', 'at x'],
  fitNote: ['Poznámka', 'Note'],
  fitOrder: ['Polynom N. řádu', 'Polynomial of order N'],
  fitSpline: ['Lineární spline', 'Linear spline'],
  fitCannot: ['nelze sestavit', 'cannot be built'],
  fitFloat32: ['float32 ztrácí přesnost', 'float32 loses precision'],
  fitNoBetter: ['není lepší než N. řádu', 'no better than order N'],
  fitPreselected: ['předvolba dialogu', 'the dialog\'s preselection'],
  fitLowest: ['nejnižší řád do 10 % nejlepší odchylky', 'lowest order within 10 % of the best'],
  fitPoints: ['Bodů:', 'Points:'],
  fitLine: ['Řádek', 'Line'],
  fitMoreSkipped: ['a dalších N vynechaných řádků', 'and N more skipped lines'],
  fitByteOrderMark: ['Soubor začíná značkou BOM: první řádek se ztratí.', 'The file starts with a byte-order mark: its first line is lost.'],
  fitRepeated: ['Spline ponechá první bod každého x a vynechá opakovaná x:', 'The spline keeps the first point of each x and drops the repeated x:'],
  fitTooLarge: ['Soubor je příliš velký (nejvýše 48 KiB).', 'The file is too large (48 KiB at most).'],
  fitChooseFile: ['Vyberte soubor s body a metodu.', 'Choose a point file and a method.'],
  fitPlot: ['Graf bodů a odchylek', 'Plot of the points and residuals'],
  fitWarnings: ['Varování', 'Warnings'],
  writeInput: ['Zápis vstupu', 'Write input'],
  inputProgress: ['Průběh zápisu', 'Write progress'],
  inputWriting: ['Zapisuje se…', 'Writing…'],
  inputVerified: ['Zapsáno a ověřeno čtením zpět.', 'Written and verified by reading back.'],
  inputMismatch: ['Převodník drží jiný vstup, než bylo zadáno (viz níže).', 'The converter holds another input than asked (see below).'],
  inputReadBack: ['Přečteno zpět', 'Read back'],
  problemPositive: ['Zadejte číslo větší než nula', 'Enter a number above zero'],
  resultKind: ['Měření:', 'Measurement:'],
  resultMeasurement: ['Vstup:', 'Input:'],
  resultSensor: ['Snímač:', 'Sensor:'],
  resultNoSensor: ['žádný rozpoznaný', 'none recognised'],
  resultRangeMin: ['Rozsah min', 'Range min'],
  resultRangeMax: ['Rozsah max', 'Range max'],
  resultDegree: ['Řád polynomu', 'Polynomial order'],
  resultSegments: ['Segmentů', 'Segments'],
  resultMismatch: ['Rozdíl', 'Difference'],
  history: ['Historie zápisů', 'History of writes'],
  historyRefresh: ['Načíst historii', 'Reload history'],
  asFound: ['Konfigurace před prvním zápisem', 'Configuration as found before the first write'],
  asFoundLabel: ['Konfigurace před prvním zápisem', 'As found'],
  noAsFound: ['Zatím žádná.', 'None yet.'],
  journalLines: ['Zápisy (nejnovější nahoře)', 'Writes (newest first)'],
  noJournal: ['Zatím žádný zápis.', 'No writes yet.'],
  journalMore: ['Starší zápisy nejsou zobrazeny.', 'Older writes are not shown.'],
  journalFailed: ['selhalo:', 'failed:'],
  download: ['Stáhnout', 'Download'],
  restoreCopy: ['Obnovit tuto zálohu', 'Restore this copy'],
  copyUnreadable: ['Zálohu se nepodařilo načíst.', 'The copy could not be loaded.'],
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

// The converter's input kind (its Czech word) in the page's language.
const InputKindWords = ['Napětí', 'Proud', 'Odpor', 'Potenciometr', 'Teploměr', 'Termočlánek'];
export function inputKindText(czech) {
  const kind = InputKindWords.indexOf(czech);
  return kind >= 0 ? t('inputKind' + kind) : czech;
}

// The converter's fault texts ("Porucha", "Neplatná") in the page's language.
export function faultText(czech) {
  if (czech === 'Porucha') return t('faultPorucha');
  if (czech === 'Neplatná') return t('faultNeplatna');
  return czech;
}
