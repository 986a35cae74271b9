// What both browser tests read from a `vobreports view` they started: the address it prints.
export async function serverUrl(server) {
  let output = '';
  for await (const chunk of server.stdout) {
    output += chunk;
    const match = output.match(/serving at (http:\S+)/);
    if (match) return match[1];
  }
  throw new Error(`vobreports view ended without an address: ${output}`);
}
