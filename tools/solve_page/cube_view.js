// The solve page's 3D cube: 27 cubies with their stickers drawn with WebGL 1, one face
// layer turning at a time. The page hands it facelet strings and the moves to animate.

/** The colour of each face letter, as the program paints its stickers. */
export const kColours = {
  U: [1, 0, 0], R: [0, 1, 0], F: [1, 1, 1], D: [1, 0.5, 0], L: [0, 0, 1], B: [1, 1, 0],
  '.': [0.55, 0.55, 0.55],
};

const kFaces = 'URFDLB';

// Each face in the string's order: its outward normal, and the 3D directions of a
// sticker's column and row as the face is read, from outside, like a page.
const kFaceFrames = {
  U: { normal: [0, 1, 0], right: [1, 0, 0], down: [0, 0, 1] },
  R: { normal: [1, 0, 0], right: [0, 0, -1], down: [0, -1, 0] },
  F: { normal: [0, 0, 1], right: [1, 0, 0], down: [0, -1, 0] },
  D: { normal: [0, -1, 0], right: [1, 0, 0], down: [0, 0, -1] },
  L: { normal: [-1, 0, 0], right: [0, 0, 1], down: [0, -1, 0] },
  B: { normal: [0, 0, -1], right: [-1, 0, 0], down: [0, -1, 0] },
};

const add = (a, b, s = 1) => [a[0] + b[0] * s, a[1] + b[1] * s, a[2] + b[2] * s];
const dot = (a, b) => a[0] * b[0] + a[1] * b[1] + a[2] * b[2];

// Every sticker's place: the cubie it sits on (coordinates -1, 0, 1) and its face.
const kStickers = [...Array(54).keys()].map((position) => {
  const face = kFaceFrames[kFaces[Math.floor(position / 9)]];
  const row = Math.floor((position % 9) / 3);
  const column = position % 3;
  let cubie = add(face.normal, face.right, column - 1);
  cubie = add(cubie, face.down, row - 1);
  return { cubie, face };
});

/** The face and signed angle (degrees) of a move token such as "R", "U2" or "F'". */
export function parseMove(token) {
  const face = kFaceFrames[token[0]];
  const turns = token.endsWith("'") ? -1 : token.includes('2') ? 2 : 1;
  // A clockwise turn seen from outside is negative about the outward normal.
  return { normal: face.normal, degrees: -90 * turns };
}

// 4x4 matrices, column-major as WebGL takes them.
function multiply(a, b) {
  const out = new Float32Array(16);
  for (let c = 0; c < 4; ++c) {
    for (let r = 0; r < 4; ++r) {
      let sum = 0;
      for (let k = 0; k < 4; ++k) sum += a[k * 4 + r] * b[c * 4 + k];
      out[c * 4 + r] = sum;
    }
  }
  return out;
}

function rotation(axis, degrees) {
  const t = (degrees * Math.PI) / 180;
  const c = Math.cos(t), s = Math.sin(t), [x, y, z] = axis, k = 1 - c;
  return new Float32Array([
    c + x * x * k, y * x * k + z * s, z * x * k - y * s, 0,
    x * y * k - z * s, c + y * y * k, z * y * k + x * s, 0,
    x * z * k + y * s, y * z * k - x * s, c + z * z * k, 0,
    0, 0, 0, 1,
  ]);
}

function perspective(fovDegrees, aspect, near, far) {
  const f = 1 / Math.tan((fovDegrees * Math.PI) / 360);
  const m = new Float32Array(16);
  m[0] = f / aspect; m[5] = f; m[10] = (far + near) / (near - far); m[11] = -1;
  m[14] = (2 * far * near) / (near - far);
  return m;
}

function translation(x, y, z) {
  const m = rotation([1, 0, 0], 0);
  m[12] = x; m[13] = y; m[14] = z;
  return m;
}

function transform(m, p, w = 1) {
  return [0, 1, 2].map((r) => m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r] * w);
}

const kVertexShader = `
attribute vec3 position; attribute vec3 normal; attribute vec3 colour;
uniform mat4 model; uniform mat4 projection; varying vec3 shade;
void main() {
  vec3 n = normalize((model * vec4(normal, 0.0)).xyz);
  float light = 0.68 + 0.32 * max(dot(n, normalize(vec3(0.3, 0.5, 1.0))), 0.0);
  shade = colour * light;
  gl_Position = projection * model * vec4(position, 1.0);
}`;
const kFragmentShader = `
precision mediump float; varying vec3 shade;
void main() { gl_FragColor = vec4(shade, 1.0); }`;

/** Draws a cube on a canvas, turns it with the mouse, touch and arrow keys, and
 * animates face turns. */
export class CubeView {
  constructor(canvas) {
    this.canvas = canvas;
    this.facelets = 'UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB';
    this.yaw = -35;
    this.pitch = 28;
    this.turning = null; // { normal, degrees } of the layer being turned
    // The drawing buffer is kept so that screenshots read what is on screen.
    const gl = canvas.getContext('webgl', { antialias: true, preserveDrawingBuffer: true });
    this.gl = gl;
    if (!gl) return;
    this.program = this.link(kVertexShader, kFragmentShader);
    this.buffer = gl.createBuffer();
    this.listen();
    this.draw();
  }

  /** Whether the browser gave a WebGL context. */
  get available() { return Boolean(this.gl); }

  link(vertexSource, fragmentSource) {
    const gl = this.gl;
    const program = gl.createProgram();
    for (const [type, source] of [[gl.VERTEX_SHADER, vertexSource], [gl.FRAGMENT_SHADER, fragmentSource]]) {
      const shader = gl.createShader(type);
      gl.shaderSource(shader, source);
      gl.compileShader(shader);
      gl.attachShader(program, shader);
    }
    gl.linkProgram(program);
    return program;
  }

  /** Shows `facelets` (54 letters; '.' is a sticker not painted) with no layer turned. */
  show(facelets) {
    this.facelets = facelets;
    this.turning = null;
    this.draw();
  }

  /** Turns the layer of `move` from 0 to its full angle over `milliseconds`, then shows
   * `after`. Resolves when done, or early (with false) when cancelled by another call. */
  play(move, after, milliseconds) {
    this.cancel?.();
    const { normal, degrees } = parseMove(move);
    this.canvas.dataset.turning = 'true';
    return new Promise((resolve) => {
      const start = performance.now();
      let frame = 0;
      const finish = (completed) => {
        cancelAnimationFrame(frame);
        this.cancel = null;
        delete this.canvas.dataset.turning;
        this.show(after);
        resolve(completed);
      };
      this.cancel = () => finish(false);
      const step = (now) => {
        const t = Math.min((now - start) / milliseconds, 1);
        if (t >= 1) {
          finish(true);
          return;
        }
        // Eased in and out, as a hand turns a layer.
        this.turning = { normal, degrees: degrees * (0.5 - Math.cos(t * Math.PI) / 2) };
        this.draw();
        frame = requestAnimationFrame(step);
      };
      frame = requestAnimationFrame(step);
    });
  }

  /** Stops an animation under way; the cube shows the state it was heading for. */
  stop() { this.cancel?.(); }

  listen() {
    const canvas = this.canvas;
    let dragging = null;
    canvas.addEventListener('pointerdown', (event) => {
      dragging = { x: event.clientX, y: event.clientY };
      canvas.setPointerCapture(event.pointerId);
    });
    canvas.addEventListener('pointermove', (event) => {
      if (!dragging) return;
      this.spin((event.clientX - dragging.x) * 0.5, (event.clientY - dragging.y) * 0.5);
      dragging = { x: event.clientX, y: event.clientY };
    });
    const end = () => { dragging = null; };
    canvas.addEventListener('pointerup', end);
    canvas.addEventListener('pointercancel', end);
    canvas.addEventListener('keydown', (event) => {
      const steps = { ArrowLeft: [-10, 0], ArrowRight: [10, 0], ArrowUp: [0, -10], ArrowDown: [0, 10] };
      const step = steps[event.key];
      if (step) {
        event.preventDefault();
        this.spin(step[0], step[1]);
      }
    });
    new ResizeObserver(() => this.draw()).observe(canvas);
  }

  /** Turns the view by the given degrees about the vertical and the horizontal axis. */
  spin(yawDegrees, pitchDegrees) {
    this.yaw += yawDegrees;
    this.pitch = Math.max(-89, Math.min(89, this.pitch + pitchDegrees));
    this.draw();
  }

  // The triangles of one square: centre, two half-size edge vectors, normal, colour.
  static square(out, centre, u, v, normal, colour) {
    const corners = [add(add(centre, u, -1), v, -1), add(add(centre, u, 1), v, -1),
      add(add(centre, u, 1), v, 1), add(add(centre, u, -1), v, 1)];
    for (const i of [0, 1, 2, 0, 2, 3]) out.push(...corners[i], ...normal, ...colour);
  }

  vertices() {
    const out = [];
    const layerTurn = this.turning ? rotation(this.turning.normal, this.turning.degrees) : null;
    const moved = (cubie) => layerTurn && dot(cubie, this.turning.normal) === 1;
    const place = (cubie, p, w = 1) => (moved(cubie) ? transform(layerTurn, p, w) : p);
    // The black bodies of the 26 outer cubies.
    for (let x = -1; x <= 1; ++x) {
      for (let y = -1; y <= 1; ++y) {
        for (let z = -1; z <= 1; ++z) {
          const cubie = [x, y, z];
          if (x === 0 && y === 0 && z === 0) continue;
          for (const face of Object.values(kFaceFrames)) {
            const n = place(cubie, face.normal, 0);
            const centre = place(cubie, add(cubie, face.normal, 0.49));
            const u = place(cubie, face.right.map((c) => c * 0.49), 0);
            const v = place(cubie, face.down.map((c) => c * 0.49), 0);
            CubeView.square(out, centre, u, v, n, [0.06, 0.06, 0.07]);
          }
        }
      }
    }
    kStickers.forEach(({ cubie, face }, position) => {
      const colour = kColours[this.facelets[position]] ?? kColours['.'];
      const n = place(cubie, face.normal, 0);
      const centre = place(cubie, add(cubie, face.normal, 0.5 + 0.002));
      const u = place(cubie, face.right.map((c) => c * 0.42), 0);
      const v = place(cubie, face.down.map((c) => c * 0.42), 0);
      CubeView.square(out, centre, u, v, n, colour);
    });
    return new Float32Array(out);
  }

  draw() {
    const gl = this.gl;
    if (!gl) return;
    const canvas = this.canvas;
    const scale = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(canvas.clientWidth * scale));
    const height = Math.max(1, Math.round(canvas.clientHeight * scale));
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    gl.viewport(0, 0, width, height);
    gl.clearColor(0.165, 0.165, 0.19, 1);
    gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
    gl.enable(gl.DEPTH_TEST);
    gl.useProgram(this.program);

    const data = this.vertices();
    gl.bindBuffer(gl.ARRAY_BUFFER, this.buffer);
    gl.bufferData(gl.ARRAY_BUFFER, data, gl.DYNAMIC_DRAW);
    const stride = 9 * 4;
    ['position', 'normal', 'colour'].forEach((name, i) => {
      const at = gl.getAttribLocation(this.program, name);
      gl.enableVertexAttribArray(at);
      gl.vertexAttribPointer(at, 3, gl.FLOAT, false, stride, i * 12);
    });
    const view = multiply(rotation([1, 0, 0], this.pitch), rotation([0, 1, 0], this.yaw));
    const model = multiply(translation(0, 0, -9.5), view);
    gl.uniformMatrix4fv(gl.getUniformLocation(this.program, 'model'), false, model);
    gl.uniformMatrix4fv(gl.getUniformLocation(this.program, 'projection'), false,
      perspective(35, width / height, 1, 50));
    gl.drawArrays(gl.TRIANGLES, 0, data.length / 9);
  }
}
