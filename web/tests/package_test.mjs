// The npm package, packed and installed in a fresh folder as a user would
// install it, against the native converter: for every real export (the
// folder VORLANE_REAL_DATA names) and for hostile inputs, in the standard
// and the exact drawing, SVG and DXF, the same drawing bytes, the same
// status as the converter's exit status, the same report and messages.
//
//   node web/tests/package_test.mjs VORLANE_CONVERTER
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const converter = resolve(process.argv[2] || 'build/vorlane');
const dist = resolve(dirname(fileURLToPath(import.meta.url)), '../dist');
const work = mkdtempSync(join(tmpdir(), 'vorlane-package-'));
let failures = 0;

try {
  // Packed, then installed from the tarball alone.
  const packed = execFileSync('npm', ['pack', '--silent', '--pack-destination', work, dist],
                              { encoding: 'utf8' }).trim().split('\n').pop();
  const fresh = join(work, 'fresh');
  execFileSync('mkdir', ['-p', fresh]);
  writeFileSync(join(fresh, 'package.json'), '{"name": "fresh", "private": true, "type": "module"}\n');
  execFileSync('npm', ['install', '--offline', '--no-audit', '--no-fund', '--silent',
                       join(work, packed)], { cwd: fresh });
  writeFileSync(join(fresh, 'use.mjs'), "export { convert } from 'vorlane';\n");
  const { convert } = await import(pathToFileURL(join(fresh, 'use.mjs')));

  const inputs = [];
  const real = process.env.VORLANE_REAL_DATA;
  if (real && existsSync(real)) {
    for (const name of readdirSync(real).filter((name) => name.endsWith('.vfk')).sort()) {
      inputs.push({ name, bytes: readFileSync(join(real, name)) });
    }
  } else {
    console.log('Skipped: the real exports (VORLANE_REAL_DATA names no folder); hostile inputs only');
  }
  const sample = readFileSync(resolve(dist, '../../examples/sample.vfk'));
  inputs.push({ name: 'sample.vfk', bytes: sample });
  // A generated whole map of 20 MB, whose arrays grow to megabytes, as a
  // large real export's do (the converter's build holds the generator).
  const generator = join(dirname(converter), 'tools', 'generate_vfk');
  if (existsSync(generator)) {
    const generated = join(work, 'generated.vfk');
    execFileSync(generator, ['--seed', '11', '--size-mb', '20', generated], { stdio: 'ignore' });
    inputs.push({ name: 'generated.vfk', bytes: readFileSync(generated) });
  } else {
    console.log(`Skipped: a generated map (no ${generator}); the other inputs only`);
  }
  let random = 12345;
  const noise = Buffer.alloc(4096, 0).map(() => (random = (random * 1103515245 + 12345) % 2 ** 31) & 255);
  inputs.push(
    { name: 'empty.vfk', bytes: Buffer.alloc(0) },
    { name: 'binary.vfk', bytes: noise },
    { name: 'binary_record.vfk', bytes: Buffer.concat([Buffer.from('&H'), noise]) },
    { name: 'truncated.vfk', bytes: sample.subarray(0, Math.floor(sample.length / 2)) },
    { name: 'long_lines.vfk',
      bytes: Buffer.from('&HVERZE;"5.1"\n&BSOBR;ID N30\n&DSOBR;' + 'x'.repeat(1 << 20) +
                         '\n&D' + ';'.repeat(1 << 20) + '\n&K\n') });

  for (const input of inputs) {
    for (const exact of [false, true]) {
      for (const format of ['svg', 'dxf']) {
        const what = `${input.name} ${exact ? 'exact' : 'standard'} ${format}`;
        // The converter, on a copy in a folder of its own.
        const folder = mkdtempSync(join(work, 'native-'));
        writeFileSync(join(folder, input.name), input.bytes);
        const args = ['--quiet', '--report', 'report.json', `--format=${format}`, input.name];
        if (exact) args.unshift('--exact');
        const native = spawnSync(converter, args, { cwd: folder, encoding: 'buffer' });
        const drawingFile = join(folder, input.name.replace(/\.vfk$/, '.' + format));
        const nativeDrawing = existsSync(drawingFile) ? readFileSync(drawingFile) : Buffer.alloc(0);
        const nativeReport = JSON.parse(readFileSync(join(folder, 'report.json'), 'utf8'));
        rmSync(folder, { recursive: true });

        const mine = await convert(new Uint8Array(input.bytes), { exact, format, names: [input.name] });
        try {
          assert.equal(Buffer.compare(Buffer.from(mine.drawing), nativeDrawing), 0, 'the drawing');
          assert.equal(mine.status, native.status, 'the status');
          assert.deepEqual(mine.report, nativeReport, 'the report');
          assert.equal(mine.messages, native.stderr.toString(), 'the messages');
          assert.equal(mine.warnings, native.stdout.toString(), "the library's warnings");
        } catch (error) {
          failures++;
          console.log(`FAILED: ${what}: ${error.message.split('\n')[0]}`);
        }
      }
    }
  }
  // Several files into one drawing, as --into draws them.
  const both = await convert([sample, sample], { exact: true, names: ['a.vfk', 'b.vfk'] });
  if (both.status !== 0 || both.report.conversions[0].inputs.length !== 2 ||
      both.report.conversions[0].drawing !== 'drawing.svg') {
    failures++;
    console.log('FAILED: two inputs into one drawing');
  }
  // Options it does not take are refused, not guessed at.
  await assert.rejects(convert(sample, { format: 'pdf' }), TypeError);
  console.log(`${inputs.length} inputs, 4 drawings each, against the converter: ` +
              `${failures === 0 ? 'all the same' : failures + ' different'}`);
} finally {
  rmSync(work, { recursive: true, force: true });
}
process.exit(failures === 0 ? 0 : 1);
