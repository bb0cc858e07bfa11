// A static file server for the built site on 127.0.0.1, with the types that
// the browser needs (application/wasm for streaming compilation) and, from
// the command line, the strict policy that the site keeps to: no inline
// script or style. With --gzip it sends the text files gzip-compressed to a
// browser that accepts it, as web hosts do (the benchmark's slow phone).
//
//   node web/serve.mjs [--gzip] [folder] [port]      (scripts/web serve)
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';

// The policy of a strict host; the single file, which holds everything
// inline, is not meant for one.
export const STRICT_POLICY = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'";

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.woff2': 'font/woff2',
  '.webmanifest': 'application/manifest+json',
  '.json': 'application/json',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.txt': 'text/plain; charset=utf-8',
};
// Already compressed: sent as they are.
const stored = new Set(['.woff2', '.png']);

// Each file's compressed bytes, made once (a host keeps them ready too).
const compressed = new Map();
function gzipped(file, data) {
  const key = `${file} ${data.length} ${fs.statSync(file).mtimeMs}`;
  if (!compressed.has(key)) compressed.set(key, zlib.gzipSync(data, { level: 9 }));
  return compressed.get(key);
}

// Serves the folder; resolves to the listening server. Options:
//   headers  sent with every answer (a Content-Security-Policy);
//   answer   (path) => what to do instead for that path, or nothing:
//            { delay: ms } answers as usual but that much later;
//            { status, type, body } answers so (also after a delay);
//   gzip     text files gzip-compressed to a browser that accepts it.
// The folder is read at each request, so that its files can change.
export function serve(root, port = 0, { headers = {}, answer = () => null, gzip = false } = {}) {
  const base = path.resolve(root);
  const server = http.createServer((req, res) => {
    let name;
    try {
      name = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    } catch {
      res.writeHead(400).end();
      return;
    }
    let file = path.join(base, path.normalize(name));
    if (file !== base && !file.startsWith(base + path.sep)) {
      res.writeHead(403).end();
      return;
    }
    const special = answer(name) || {};
    const reply = () => {
      if (res.destroyed) return;
      if (special.status) {
        res.writeHead(special.status, { ...headers, 'Content-Type': special.type || 'text/plain', 'Cache-Control': 'no-cache' });
        res.end(req.method === 'HEAD' ? undefined : special.body || '');
        return;
      }
      if (fs.existsSync(file) && fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
      fs.readFile(file, (err, data) => {
        if (err) {
          res.writeHead(404, { ...headers, 'Content-Type': 'text/plain' }).end('not found');
          return;
        }
        const sent = {
          ...headers,
          'Content-Type': types[path.extname(file)] || 'application/octet-stream',
          'Cache-Control': 'no-cache',
        };
        if (gzip && !stored.has(path.extname(file))) {
          sent.Vary = 'Accept-Encoding';
          if (/\bgzip\b/.test(req.headers['accept-encoding'] || '')) {
            sent['Content-Encoding'] = 'gzip';
            data = gzipped(file, data);
          }
        }
        res.writeHead(200, sent);
        res.end(req.method === 'HEAD' ? undefined : data);
      });
    };
    if (special.delay) setTimeout(reply, special.delay);
    else reply();
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2).filter((a) => a !== '--gzip');
  const root = args[0] || path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'build', 'web', 'site');
  const server = await serve(root, Number(args[1] || 8080), {
    headers: { 'Content-Security-Policy': STRICT_POLICY },
    gzip: process.argv.includes('--gzip'),
  });
  console.log(`Serving ${root} at http://127.0.0.1:${server.address().port}/ under "${STRICT_POLICY}" (Ctrl+C ends)`);
}
