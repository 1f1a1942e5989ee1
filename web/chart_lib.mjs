// The parts of d3 the page's chart uses, bundled into one script that
// defines the global `d3`.
export { axisBottom, axisLeft } from 'd3-axis';
export { scaleLinear } from 'd3-scale';
export { create, select } from 'd3-selection';
export { line } from 'd3-shape';
