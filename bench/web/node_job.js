// One look job through the page's WebAssembly module under Node, timed as the page's worker
// times it: the .cube file read from the module's file system, the look file and the
// re-indexed .cube written, the fidelity line measured.
//
// usage: node node_job.js SITE_DIR CUBE_FILE CAMERA RUNS
// prints a line a run: the wall-clock and the CPU time (user and system) in seconds
'use strict';
const fs = require('fs');
const path = require('path');

const [site, cubeFile, camera, runs] = process.argv.slice(2);
const createZelModule = require(path.resolve(site, 'zel_web.js'));
// Emscripten's loader fetches the .wasm by URL under Node 20; it is handed the bytes instead.
createZelModule({ wasmBinary: fs.readFileSync(path.resolve(site, 'zel_web.wasm')) })
  .then((zel) => {
    zel.FS.mkdir('/in');
    zel.FS.mkdir('/out');
    zel.FS.writeFile('/in/look.cube', fs.readFileSync(cubeFile));
    const cameras = JSON.parse(zel.cameraModels());
    const model = cameras.find((c) => c.name === camera);
    const settings = JSON.stringify({ model: camera, input: '/in/look.cube',
      output: '/out/look.zel', cubeOut: '/out/look.cube',
      extended: model.extendedIsDefault || !model.standardLayoutFits });
    for (let i = 0; i < Number(runs); ++i) {
      const started = process.hrtime.bigint();
      const cpu = process.cpuUsage();
      const answer = JSON.parse(zel.makeLook(settings, () => {}));
      const seconds = Number(process.hrtime.bigint() - started) / 1e9;
      const used = process.cpuUsage(cpu);
      if (!answer.ok) throw new Error(answer.message);
      console.log(seconds.toFixed(4), ((used.user + used.system) / 1e6).toFixed(4));
    }
  })
  .catch((error) => { console.error(error); process.exit(1); });
