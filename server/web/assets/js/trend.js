// The live values over time: kept in the page for an hour, drawn for the
// chosen span, faults and failed reads as gaps, exported as `dnx8 watch
// --csv` writes them.

import { LiveQuantities, liveNumber, liveText } from './numbers.js';

const KeptSeconds = 3600;

// One poll as the stream sends it: {time, input, process, value, ratio,
// faults}; values are null where flagged (named in faults) or not read.
export class TrendBuffer {
  constructor() {
    this.points = [];
  }

  add(live, receivedAt = Date.now()) {
    const parsed = Date.parse(live.time);
    const at = Number.isFinite(parsed) ? parsed : receivedAt;
    this.points.push({ at, stamp: live.time || '', live });
    const oldest = at - KeptSeconds * 1000;
    let drop = 0;
    while (drop < this.points.length && this.points[drop].at < oldest) ++drop;
    if (drop > 0) this.points.splice(0, drop);
  }

  clear() {
    this.points = [];
  }

  // uPlot's columns: seconds, then each quantity as shown (ratio in %).
  columns(fromMs, toMs) {
    const shown = this.between(fromMs, toMs);
    const data = [shown.map((p) => p.at / 1000)];
    for (const q of LiveQuantities) {
      data.push(shown.map((p) => {
        const v = p.live[q.key];
        return typeof v === 'number' ? liveNumber(q.key, v) : null;
      }));
    }
    return data;
  }

  between(fromMs, toMs) {
    return this.points.filter((p) => p.at >= fromMs && p.at <= toMs);
  }
}

// The CSV of `dnx8 watch --csv`: the header, then one line per poll with
// the time stamp, the values in the window's formats, the fault text in
// place of a flagged value, an empty field for a value not read.
export function trendCsv(points) {
  let text = 'time,' + LiveQuantities.map((q) => q.csv).join(',') + '\n';
  for (const p of points) {
    const fields = [p.stamp];
    for (const q of LiveQuantities) {
      const v = p.live[q.key];
      const fault = p.live.faults && p.live.faults[q.key];
      fields.push(fault ? fault : typeof v === 'number' ? liveText(q, v) : '');
    }
    text += fields.join(',') + '\n';
  }
  return text;
}

// 24-hour local time of a tick, seconds only where they are not 0.
function clockText(seconds) {
  const d = new Date(seconds * 1000);
  const two = (n) => String(n).padStart(2, '0');
  const text = `${d.getHours()}:${two(d.getMinutes())}`;
  return d.getSeconds() ? `${text}:${two(d.getSeconds())}` : text;
}

const Colours = ['#1f5fbf', '#b35900', '#1b7f3b', '#7a3fa0'];

// The chart; without the chart library the buffer and export still work.
export class TrendChart {
  constructor(container, buffer, labels) {
    this.container = container;
    this.buffer = buffer;
    this.spanMinutes = 5;
    this.paused = false;
    this.view = null; // [fromMs, toMs] drawn last
    this.plot = null;
    const uPlot = globalThis.uPlot;
    if (!uPlot) return;
    const series = [{}];
    LiveQuantities.forEach((q, i) => {
      series.push({
        label: labels[i],
        stroke: Colours[i],
        width: 1.5,
        scale: q.key === 'ratio' ? '%' : 'y',
        spanGaps: false,
        value: (u, v) => (v == null ? '–' : v.toFixed(q.decimals)),
      });
    });
    this.plot = new uPlot(
      {
        width: Math.max(container.clientWidth, 200),
        height: 260,
        series,
        scales: { x: { time: true }, y: { auto: true }, '%': { auto: true } },
        axes: [{ space: 90, values: (u, splits) => splits.map(clockText) }, { scale: 'y' },
          { scale: '%', side: 1, grid: { show: false } }],
        legend: { live: false },
        cursor: { drag: { x: false, y: false } },
      },
      [[], [], [], [], []],
      container,
    );
    if (globalThis.ResizeObserver) {
      new ResizeObserver(() => {
        const width = Math.max(this.container.clientWidth, 200);
        if (this.plot && width !== this.plot.width) this.plot.setSize({ width, height: 260 });
      }).observe(container);
    }
  }

  setLabels(labels) {
    if (!this.plot) return;
    const rows = [...this.plot.root.querySelectorAll('.u-series .u-label')];
    const first = rows.length - labels.length; // the time's row, when shown
    labels.forEach((label, i) => {
      if (rows[first + i]) rows[first + i].textContent = label;
    });
  }

  setSeriesShown(index, shown) {
    if (this.plot) this.plot.setSeries(index + 1, { show: shown });
  }

  // Redraws the chosen span up to now, unless paused.
  refresh(nowMs = Date.now()) {
    if (this.paused) return;
    const last = this.buffer.points.length ? this.buffer.points[this.buffer.points.length - 1].at : nowMs;
    const to = Math.max(nowMs, last);
    const from = to - this.spanMinutes * 60000;
    this.view = [from, to];
    if (this.plot) {
      this.plot.setData(this.buffer.columns(from, to), false);
      this.plot.setScale('x', { min: from / 1000, max: to / 1000 });
    }
  }

  // The polls the chart shows now.
  shownPoints() {
    if (!this.view) this.refresh();
    return this.buffer.between(this.view[0], this.view[1]);
  }
}
