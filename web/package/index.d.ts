export interface ConvertOptions {
  /** The exact drawing (what the file holds, and the whole map) instead of the standard one. */
  exact?: boolean;
  /** "svg" (the default) or "dxf". */
  format?: 'svg' | 'dxf';
  /** Draw only these layers: names, or one string of names separated by commas; "VL_GP_*" stands for every layer whose name begins so. */
  layers?: string | string[];
  /** Leave these layers out, named as for `layers`. */
  without?: string | string[];
  /** The CAD application's units number, written into the SVG's units attribute (default 1). */
  units?: number;
  /** The SVG's origin at the centre of its extent instead of at 0 0. */
  centreOrigin?: boolean;
  /** The inputs' names, as messages and the report give them (default "input.vfk", or "input1.vfk", ...). */
  names?: string[];
  /** The drawing's name when there are several inputs (default "drawing.svg" or "drawing.dxf"). */
  into?: string;
  /** Told now and then how many bytes of the inputs have been read. */
  onProgress?: (bytesRead: number) => void;
}

export interface ConvertResult {
  /** 0 when every input was converted, 1 when not (the converter's exit status), 2 for options the module does not take. */
  status: number;
  /** The drawing's bytes; empty when there is none. */
  drawing: Uint8Array;
  /** The report, as the converter's --report writes it (see the README). */
  report: any;
  /** The converter's messages: what was written and what the files lack, one line each. */
  messages: string;
  /** The warnings the library's export prints for the same files. */
  warnings: string;
}

/** Converts one VFK file, or several into one drawing, held in memory. */
export function convert(input: Uint8Array | ArrayBuffer | Array<Uint8Array | ArrayBuffer>,
                        options?: ConvertOptions): Promise<ConvertResult>;
