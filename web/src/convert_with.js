// One conversion on a loaded module (vorlane_web.cpp): the inputs are copied
// into its memory, converted, and the drawing, the report and the messages
// copied out. Shared by the package and the viewer's Worker.

// The options as the module reads them, one "name=value" a line.
function optionsText(options) {
  const lines = [];
  if (options.exact) lines.push('exact=1');
  if (options.format !== undefined) {
    if (options.format !== 'svg' && options.format !== 'dxf') {
      throw new TypeError('format must be "svg" or "dxf"');
    }
    lines.push('format=' + options.format);
  }
  const list = (value) => (Array.isArray(value) ? value.join(',') : String(value));
  if (options.layers !== undefined) lines.push('layers=' + list(options.layers));
  if (options.without !== undefined) lines.push('without=' + list(options.without));
  if (options.units !== undefined) {
    if (!Number.isInteger(options.units)) throw new TypeError('units must be an integer');
    lines.push('units=' + options.units);
  }
  if (options.centreOrigin) lines.push('centreOrigin=1');
  if (options.into !== undefined) lines.push('into=' + options.into);
  for (const line of lines) {
    if (line.includes('\n')) throw new TypeError('an option holds a line break');
  }
  return lines.join('\n');
}

// The inputs as a list of { name, bytes }.
function inputsOf(input, names) {
  const list = Array.isArray(input) ? input : [input];
  if (list.length === 0) throw new TypeError('no input');
  return list.map((bytes, k) => {
    if (bytes instanceof ArrayBuffer) bytes = new Uint8Array(bytes);
    if (!(bytes instanceof Uint8Array)) throw new TypeError('an input must be a Uint8Array');
    const name = names && names[k] !== undefined ? String(names[k])
               : list.length === 1 ? 'input.vfk' : `input${k + 1}.vfk`;
    return { name, bytes };
  });
}

export function convertWith(module, input, options = {}) {
  const inputs = inputsOf(input, options.names);
  const settings = optionsText(options);
  const encoder = new TextEncoder();
  const allocated = [];
  const copy = (bytes) => {
    const at = module._malloc(Math.max(bytes.length, 1));
    if (at === 0) throw new RangeError('the input does not fit in memory');
    allocated.push(at);
    module.HEAPU8.set(bytes, at);
    return at;
  };
  const text = (string) => copy(encoder.encode(string + '\0'));
  try {
    const table = (values) => {
      const at = copy(new Uint8Array(4 * values.length));
      module.HEAPU32.set(values, at >> 2);
      return at;
    };
    const names = table(inputs.map((input) => text(input.name)));
    const data = table(inputs.map((input) => copy(input.bytes)));
    const sizes = table(inputs.map((input) => input.bytes.length));
    module.onProgress = options.onProgress;
    const status = module._vorlane_convert(inputs.length, names, data, sizes, text(settings));
    const size = copy(new Uint8Array(4));
    const result = (which) => {
      const at = module._vorlane_result(which, size);
      return module.HEAPU8.slice(at, at + module.HEAPU32[size >> 2]);
    };
    const decoder = new TextDecoder();
    const report = result(1);
    return {
      status,
      drawing: result(0),
      report: report.length > 0 ? JSON.parse(decoder.decode(report)) : null,
      messages: decoder.decode(result(2)),
      warnings: decoder.decode(result(3)),
    };
  } finally {
    module.onProgress = undefined;
    for (const at of allocated) module._free(at);
  }
}
