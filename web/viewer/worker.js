// The viewer's Worker: conversions off the page's thread, so that the page
// stays responsive. It follows the module (createVorlaneModule) and
// convertWith in one script.
const ready = createVorlaneModule();

// What the exact drawing says of each parcel and building: by identifier,
// its layer and its vl: attributes.
function attributesOf(svg) {
  const found = {};
  let layer = '';
  const pattern = /<g layer="([^"]*)"|<path id="([^"]*)"((?: vl:[a-z_]+="[^"]*")+)/g;
  for (const match of svg.matchAll(pattern)) {
    if (match[1] !== undefined) {
      layer = match[1];
      continue;
    }
    const attributes = {};
    for (const pair of match[3].matchAll(/ vl:([a-z_]+)="([^"]*)"/g)) {
      attributes[pair[1]] = pair[2].replace(/&quot;/g, '"').replace(/&lt;/g, '<')
        .replace(/&gt;/g, '>').replace(/&amp;/g, '&');
    }
    found[match[2]] = { layer, attributes };
  }
  return found;
}

self.onmessage = async (event) => {
  const { id, files, options, withAttributes } = event.data;
  try {
    const module = await ready;
    const inputs = files.map((file) => new Uint8Array(file.bytes));
    const names = files.map((file) => file.name);
    const started = performance.now();
    const result = convertWith(module, inputs, {
      ...options,
      names,
      onProgress: (bytes) => self.postMessage({ id, progress: bytes }),
    });
    result.milliseconds = performance.now() - started;
    let attributes = null;
    if (withAttributes) {
      const exact = options.exact && (options.format || 'svg') === 'svg'
        ? result
        : convertWith(module, inputs, { exact: true, names });
      attributes = attributesOf(new TextDecoder().decode(exact.drawing));
    }
    self.postMessage({ id, result, attributes }, [result.drawing.buffer]);
  } catch (error) {
    self.postMessage({ id, error: String((error && error.message) || error) });
  }
};
