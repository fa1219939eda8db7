// The comparison's charts: one uPlot per chart over the location, one line
// per run (in the run's colour), with a shared cursor and zoom, the stations
// marked, and the run of the line pointed at named above the charts.
(function () {
  'use strict';
  const data = JSON.parse(document.getElementById('run-data').textContent);
  const texts = JSON.parse(document.getElementById('page-texts').textContent);
  const holder = document.getElementById('charts');
  const pointed = document.getElementById('pointed-run');
  let plots = [];
  const shareZoom = sharedZoom(() => plots);

  // Positions run along the direction of travel; the axis shows the location.
  function locationText(p) { return p == null ? '' : (data.direction * p).toFixed(1) + ' m'; }
  function tickText(p) { return locationText(p).replace(/\.0 m$/, ' m'); }

  // Each chart: for a run, its lines (positions, values, how drawn).
  const kinds = [
    { id: 'speed', title: texts.speedChart,
      lines: (run) => [{ values: run.speed }] },
    { id: 'time-difference', title: texts.timeDifferenceChart,
      lines: (run) => [{ x: run.timeDifferencePosition, values: run.timeDifference }] },
    { id: 'notches', title: texts.notchChart, step: true,
      lines: (run) => [{ values: run.power, suffix: texts.power },
                       { values: run.brake, suffix: texts.brake, dash: [6, 4] }] },
    { id: 'brake-cylinder', title: texts.brakeCylinderChart,
      lines: (run) => [{ values: run.brakeCylinder }] },
  ];

  function stationMarkers() {
    return { hooks: { draw: [function (u) {
      const ctx = u.ctx;
      ctx.save();
      ctx.strokeStyle = '#999';
      ctx.setLineDash([4, 4]);
      ctx.lineWidth = Math.max(1, devicePixelRatio);
      for (const p of data.stations) {
        if (p < u.scales.x.min || p > u.scales.x.max) continue;
        const px = Math.round(u.valToPos(p, 'x', true));
        ctx.beginPath(); ctx.moveTo(px, u.bbox.top); ctx.lineTo(px, u.bbox.top + u.bbox.height); ctx.stroke();
      }
      ctx.restore();
    }] } };
  }

  // Names the run whose line passes nearest the mouse (within 24 pixels)
  // on the chart under it.
  let hovered = null;
  function namePointed(u) {
    if (u !== hovered || u.cursor.idx == null || u.cursor.left < 0) return;
    let nearest = null, distance = 24;
    for (let i = 1; i < u.series.length; ++i) {
      const values = u.data[i];
      // The line's value here: at the cursor's point, else at its nearest own point.
      let at = u.cursor.idx, back = at, ahead = at;
      while (values[back] == null && back > 0) --back;
      while (values[ahead] == null && ahead < values.length - 1) ++ahead;
      if (values[at] == null) at = values[back] == null ? ahead : values[ahead] == null ? back :
        (at - back <= ahead - at ? back : ahead);
      if (values[at] == null) continue;
      const off = Math.abs(u.valToPos(values[at], 'y') - u.cursor.top);
      if (off <= distance) { distance = off; nearest = u.series[i]; }
    }
    pointed.textContent = nearest ? texts.pointedAt + ' ' + nearest.label : '';
  }

  function makePlot(kind, width) {
    const tables = [];
    const series = [{ label: texts.location, value: (u, v) => locationText(v) }];
    data.runs.forEach((run, r) => {
      for (const line of kind.lines(run)) {
        if (!line.values) continue;
        tables.push([line.x || run.position, line.values]);
        series.push({
          label: run.label + (line.suffix ? ' ' + line.suffix : ''),
          run: r, stroke: run.color, width: 1.5, dash: line.dash, spanGaps: true,
          paths: kind.step ? uPlot.paths.stepped({ align: 1 }) : undefined,
        });
      }
    });
    if (!tables.length) return null;
    const element = document.createElement('div');
    element.className = 'chart';
    element.id = 'chart-' + kind.id;
    holder.appendChild(element);
    const opts = {
      title: kind.title, width: width, height: 240, series: series,
      axes: [{ values: (u, splits) => splits.map(tickText), size: 40, space: 90 }, { size: 60 }],
      scales: { x: { time: false } },
      cursor: { sync: { key: 'compare' }, drag: { x: true, y: false } },
      hooks: { setScale: [shareZoom], setCursor: [namePointed] }, plugins: [stationMarkers()],
    };
    const u = new uPlot(opts, uPlot.join(tables), element);
    u.over.addEventListener('mouseenter', () => { hovered = u; });
    u.over.addEventListener('mouseleave', () => { hovered = null; pointed.textContent = ''; });
    return u;
  }

  const width = Math.max(400, holder.clientWidth || 800);
  plots = kinds.map((kind) => makePlot(kind, width)).filter((u) => u);
  document.getElementById('show-all').addEventListener('click', () => {
    const xs = plots.length ? plots[0].data[0] : [];
    if (xs.length) plots[0].setScale('x', { min: xs[0], max: xs[xs.length - 1] });
  });
  window.addEventListener('resize', () => {
    const width = Math.max(400, holder.clientWidth || 800);
    for (const u of plots) u.setSize({ width: width, height: 240 });
  });

  // With #self-check in the address: describes each chart as drawn (and the
  // time difference at each station), points at the second run's speed line
  // and makes each chart's PNG, into the self-check element for the browser test.
  function describe(lines) {
    for (const u of plots) {
      const id = u.root.parentNode.id;
      lines.push(['chart', id, 'canvas=' + (u.root.querySelector('canvas') ? 1 : 0),
        'points=' + u.data[0].length, 'xmin=' + u.scales.x.min, 'xmax=' + u.scales.x.max].join('\t'));
      for (let i = 1; i < u.series.length; ++i) {
        const values = u.data[i].filter((v) => v != null);
        lines.push(['series', id, 'run=' + (u.series[i].run + 1), 'count=' + values.length,
          'min=' + (values.length ? Math.min(...values) : ''),
          'max=' + (values.length ? Math.max(...values) : ''), 'label=' + u.series[i].label].join('\t'));
        for (const p of data.stations) {
          const at = u.data[0].indexOf(p);
          if (at >= 0 && u.data[i][at] != null) {
            lines.push(['station', id, 'run=' + (u.series[i].run + 1), 'location=' + data.direction * p,
              'value=' + u.data[i][at]].join('\t'));
          }
        }
      }
    }
  }
  function pointAtSecondRun(lines) {
    const u = plots[0];
    const second = u.series.findIndex((s) => s.run === 1);
    if (second < 0) return;
    // Where the second run's speed is furthest from the first's.
    let best = -1, gap = -1;
    for (let i = 0; i < u.data[0].length; ++i) {
      const a = u.data[1][i], b = u.data[second][i];
      if (a != null && b != null && Math.abs(a - b) > gap) { gap = Math.abs(a - b); best = i; }
    }
    if (best < 0) return;
    const box = u.over.getBoundingClientRect();
    const at = { clientX: box.left + u.valToPos(u.data[0][best], 'x'),
                 clientY: box.top + u.valToPos(u.data[second][best], 'y'), bubbles: true };
    u.over.dispatchEvent(new MouseEvent('mouseenter', at));
    u.over.dispatchEvent(new MouseEvent('mousemove', at));
    lines.push('pointed\tshown=' + pointed.textContent + '\texpected=' + texts.pointedAt + ' ' +
      u.series[second].label);
  }
  if (location.hash === '#self-check') {
    setTimeout(() => {
      const lines = [];
      describe(lines);
      pointAtSecondRun(lines);
      for (const element of holder.querySelectorAll('.chart')) {
        const canvas = window.chartCanvas(element);
        lines.push(['png', element.id, 'button=' + (element.querySelector('button.png') ? 1 : 0),
          'width=' + canvas.width, 'height=' + canvas.height,
          'image=' + canvas.toDataURL('image/png').slice(0, 22)].join('\t'));
      }
      const check = document.getElementById('self-check');
      check.textContent = lines.join('\n');
      check.dataset.done = 'yes';
    }, 100);
  }
})();
