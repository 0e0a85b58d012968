// vorlane: Czech cadastral exchange files (VFK) into SVG and DXF drawings
// for CAD import, in the browser and in Node, with nothing sent anywhere.
import createVorlaneModule from './vorlane-module.mjs';
import { convertWith } from './convert-with.js';

let loading;

// The module, loaded on first use. A conversion runs to its end before the
// next starts, so one module serves every call.
function vorlaneModule() {
  if (!loading) loading = createVorlaneModule();
  return loading;
}

let queue = Promise.resolve();

export async function convert(input, options = {}) {
  const module = await vorlaneModule();
  const run = queue.then(() => convertWith(module, input, options));
  queue = run.catch(() => {});
  return run;
}
