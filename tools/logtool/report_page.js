// The report's charts: one uPlot per chart, stacked on one x axis (time or
// location), with a shared cursor, zoom and markers for the run's events.
(function () {
  'use strict';
  const run = JSON.parse(document.getElementById('run-data').textContent);
  const texts = JSON.parse(document.getElementById('page-texts').textContent);
  const colors = ['#1f77b4', '#d62728', '#2ca02c', '#9467bd', '#ff7f0e', '#8c564b'];
  const markerColors = { signal: '#ff7f0e', beacon: '#9467bd', doors: '#2ca02c', override: '#d62728' };
  const holder = document.getElementById('charts');
  let axis = 'time';
  let plots = [];
  const shareZoom = sharedZoom(() => plots);
  let pointedAt = null;  // the chart under the mouse

  // Seconds as clock text, hours past 24 kept.
  function clock(seconds) {
    const ms = Math.round(Math.abs(seconds) * 1000);
    const two = (n) => String(n).padStart(2, '0');
    return (seconds < 0 ? '-' : '') + two(Math.floor(ms / 3600000)) + ':' +
      two(Math.floor(ms / 60000) % 60) + ':' + two(Math.floor(ms / 1000) % 60) + '.' +
      String(ms % 1000).padStart(3, '0');
  }
  // A text of the report's language with {1}, {2}... filled in.
  function fill(text, values) {
    return text.replace(/\{([1-9])\}/g, (all, n) => String(values[n - 1]));
  }
  function xText(v) {
    if (v == null) return '';
    if (axis === 'location') return v.toFixed(1) + ' m';
    return run.timeTitle ? clock(v) : fill(texts.rowNumber, [v]);
  }
  // Tick labels: whole seconds without their milliseconds.
  function tickText(v) {
    const text = xText(v);
    return axis === 'time' ? text.replace(/\.000$/, '') : text.replace(/\.0 m$/, ' m');
  }

  // Draws a vertical line at each event, coloured by kind.
  function markers() {
    return { hooks: { draw: [function (u) {
      const ctx = u.ctx;
      const top = u.bbox.top, height = u.bbox.height;
      let drawn = 0;
      ctx.save();
      ctx.lineWidth = Math.max(1, devicePixelRatio);
      for (const event of run.events) {
        const x = event.at[axis === 'time' ? 0 : 1];
        if (x == null || x < u.scales.x.min || x > u.scales.x.max) continue;
        const px = Math.round(u.valToPos(x, 'x', true));
        ctx.strokeStyle = markerColors[event.kind];
        ctx.beginPath(); ctx.moveTo(px, top); ctx.lineTo(px, top + height); ctx.stroke();
        ++drawn;
      }
      ctx.restore();
      u.root.dataset.markers = drawn;
    }] } };
  }

  // Names the events under the cursor (within a few pixels) above the charts.
  function eventsAtCursor(u) {
    const left = u.cursor.left;
    if (u !== pointedAt || left == null || left < 0) return;
    const near = [];
    for (const event of run.events) {
      const x = event.at[axis === 'time' ? 0 : 1];
      if (x != null && Math.abs(u.valToPos(x, 'x') - left) <= 4) near.push(fill(texts.eventAt, [event.text, xText(x)]));
    }
    document.getElementById('event-at-cursor').textContent = near.join('; ');
  }

  function makePlot(chart, width) {
    const right = chart.lines.some((line) => line.right);
    const series = [{ label: axis === 'time' ? (run.timeTitle || texts.row) : texts.location,
                      value: (u, v) => xText(v) }];
    chart.lines.forEach((line, i) => series.push({
      label: line.label, stroke: colors[i % colors.length], width: 1.5,
      scale: line.right ? 'y2' : 'y',
      paths: line.step ? uPlot.paths.stepped({ align: 1 }) : undefined,
    }));
    const axes = [{ values: (u, splits) => splits.map(tickText), size: 40, space: 90 },
      { scale: 'y', size: 60 }];
    axes.push(right ? { scale: 'y2', side: 1, size: 60, grid: { show: false } }
                    : { side: 1, size: 60, values: () => [], grid: { show: false } });
    const element = document.createElement('div');
    element.className = 'chart';
    element.id = 'chart-' + chart.id;
    holder.appendChild(element);
    const opts = {
      title: chart.title, width: width, height: 220, series: series, axes: axes,
      scales: { x: { time: false } },
      cursor: { sync: { key: 'run' }, drag: { x: true, y: false } },
      hooks: { setScale: [shareZoom], setCursor: [eventsAtCursor] }, plugins: [markers()],
    };
    const data = [axis === 'time' ? run.time : run.location].concat(
      chart.lines.map((line) => line.values));
    const u = new uPlot(opts, data, element);
    u.over.addEventListener('mouseenter', () => { pointedAt = u; });
    u.over.addEventListener('mouseleave', () => {
      pointedAt = null;
      document.getElementById('event-at-cursor').textContent = '';
    });
    return u;
  }

  // uPlot draws an x axis that only grows; a train that went back does not.
  function locationGoesBack() {
    for (let i = 1; run.location && i < run.location.length; ++i) {
      if (run.location[i] < run.location[i - 1]) return true;
    }
    return false;
  }

  function draw() {
    for (const u of plots) u.destroy();
    holder.textContent = '';
    if (axis === 'location' && locationGoesBack()) {
      const note = document.createElement('p');
      note.textContent = texts.locationGoesBack;
      holder.appendChild(note);
    }
    const width = Math.max(400, holder.clientWidth || 800);
    plots = run.charts.map((chart) => makePlot(chart, width));
  }

  for (const input of document.querySelectorAll('input[name="x-axis"]')) {
    if (input.value === 'location' && !run.location) input.disabled = true;
    input.addEventListener('change', () => { axis = input.value; draw(); });
  }
  document.getElementById('show-all').addEventListener('click', () => {
    const xs = plots.length ? plots[0].data[0] : [];
    if (xs.length) plots[0].setScale('x', { min: xs[0], max: xs[xs.length - 1] });
  });
  window.addEventListener('resize', () => {
    const width = Math.max(400, holder.clientWidth || 800);
    for (const u of plots) u.setSize({ width: width, height: 220 });
  });
  draw();

  // With #self-check in the address: describes each chart as drawn, then
  // switches the x axis to location and back through its buttons and
  // describes them again, into the self-check element for the browser test.
  function describe(lines) {
    for (const u of plots) {
      const id = u.root.parentNode.id;
      lines.push(['chart', id, 'axis=' + axis, 'canvas=' + (u.root.querySelector('canvas') ? 1 : 0),
        'points=' + u.data[0].length, 'xmin=' + u.scales.x.min, 'xmax=' + u.scales.x.max,
        'markers=' + (u.root.dataset.markers || 0)].join('\t'));
      for (let i = 1; i < u.series.length; ++i) {
        const values = u.data[i].filter((v) => v != null);
        lines.push(['series', id, 'axis=' + axis, 'count=' + values.length,
          'min=' + (values.length ? Math.min(...values) : ''),
          'max=' + (values.length ? Math.max(...values) : ''), 'label=' + u.series[i].label].join('\t'));
      }
    }
  }
  // uPlot sets its scales and draws a moment after it is made: each step of
  // the check waits for that.
  function afterDrawing(step) { setTimeout(step, 100); }
  if (location.hash === '#self-check') {
    const lines = [];
    const click = (value) => document.querySelector('input[name="x-axis"][value="' + value + '"]').click();
    afterDrawing(() => {
      describe(lines);
      // The mouse over the first event of each kind on the first chart names it.
      for (const kind of Object.keys(markerColors)) {
        const event = run.events.find((e) => e.kind === kind);
        if (!event || !plots.length || event.at[0] == null) continue;
        const u = plots[0], box = u.over.getBoundingClientRect();
        const at = { clientX: box.left + u.valToPos(event.at[0], 'x'), clientY: box.top + 10, bubbles: true };
        u.over.dispatchEvent(new MouseEvent('mouseenter', at));
        u.over.dispatchEvent(new MouseEvent('mousemove', at));
        lines.push('cursor\tkind=' + kind + '\tevent=' + event.text + '\tshown=' +
          document.getElementById('event-at-cursor').textContent);
      }
      click('location');
      afterDrawing(() => {
        describe(lines);
        click('time');
        afterDrawing(() => {
          describe(lines);
          const check = document.getElementById('self-check');
          check.textContent = lines.join('\n');
          check.dataset.done = 'yes';
        });
      });
    });
  }
})();
