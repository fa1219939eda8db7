// A button on each chart of the page that saves the chart as a PNG image:
// its title, its plot and a key of its lines drawn onto one canvas, and
// downloaded through a link (all offline). Charts are found as the page makes
// them: elements of class "chart" inside #charts.
(function () {
  'use strict';
  const texts = JSON.parse(document.getElementById('page-texts').textContent);
  const holder = document.getElementById('charts');

  // The chart in element as one canvas on a white ground.
  function chartCanvas(element) {
    const plot = element.querySelector('.u-wrap canvas');
    const ratio = plot.width / (plot.clientWidth || plot.width);
    const pad = 8 * ratio, line = 22 * ratio;
    const canvas = document.createElement('canvas');
    canvas.width = plot.width;
    canvas.height = plot.height + 2 * line + 2 * pad;
    const ctx = canvas.getContext('2d');
    ctx.fillStyle = '#fff';
    ctx.fillRect(0, 0, canvas.width, canvas.height);
    ctx.fillStyle = '#222';
    ctx.textBaseline = 'middle';
    ctx.font = 'bold ' + Math.round(15 * ratio) + 'px sans-serif';
    ctx.textAlign = 'center';
    const title = element.querySelector('.u-title');
    ctx.fillText(title ? title.textContent : '', canvas.width / 2, pad + line / 2);
    ctx.drawImage(plot, 0, pad + line);
    ctx.textAlign = 'left';
    ctx.font = Math.round(12 * ratio) + 'px sans-serif';
    let x = pad;
    const y = pad + line + plot.height + line / 2;
    const series = element.querySelectorAll('.u-legend .u-series');
    for (let i = 1; i < series.length; ++i) {
      const marker = series[i].querySelector('.u-marker');
      const label = series[i].querySelector('.u-label');
      ctx.fillStyle = marker ? (marker.style.borderColor || marker.style.background) : '#222';
      ctx.fillRect(x, y - 5 * ratio, 14 * ratio, 10 * ratio);
      ctx.fillStyle = '#222';
      const text = label ? label.textContent : '';
      ctx.fillText(text, x + 18 * ratio, y);
      x += 18 * ratio + ctx.measureText(text).width + 14 * ratio;
    }
    return canvas;
  }

  function save(element) {
    chartCanvas(element).toBlob((blob) => {
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = (element.id || 'chart') + '.png';
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    }, 'image/png');
  }

  function addButton(element) {
    if (!element.classList || !element.classList.contains('chart') ||
        element.querySelector('button.png')) return;
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'png';
    button.style.cssText = 'position: absolute; right: 0; top: 0; z-index: 5';
    element.style.position = 'relative';
    button.textContent = texts.savePng;
    button.addEventListener('click', () => save(element));
    element.insertBefore(button, element.firstChild);
  }

  new MutationObserver((changes) => {
    for (const change of changes) change.addedNodes.forEach(addButton);
  }).observe(holder, { childList: true });
  holder.querySelectorAll('.chart').forEach(addButton);
  window.chartCanvas = chartCanvas;
})();
