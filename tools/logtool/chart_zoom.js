// Zooming one chart of a page zooms the page's other charts to the same x
// range. sharedZoom(plots) is the uPlot setScale hook for the charts that
// plots() returns.
function sharedZoom(plots) {
  'use strict';
  let zooming = false;
  return function (u, key) {
    if (key !== 'x' || zooming) return;
    zooming = true;
    for (const other of plots()) {
      if (other !== u) other.setScale('x', { min: u.scales.x.min, max: u.scales.x.max });
    }
    zooming = false;
  };
}
