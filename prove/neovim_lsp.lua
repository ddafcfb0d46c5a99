-- Neovim's own language client against `scenario lsp`, as an author meets it
-- with the editor files the package installs (tools/lsp/editori/): open a
-- train source with a mistake, see the diagnostic, go to its culprit, fix it,
-- see it go; hover on a gradient; complete at the start of a body line of the
-- line source. Run headless by tools/lsp/neovim_test.cpp:
--   SCENARIO=... EDITORI=... CARTELLA=... RISULTATI=... nvim --headless -u NONE -i NONE -c 'luafile neovim_lsp.lua'
-- It writes one KEY=VALUE line per finding into RISULTATI, which the test
-- reads, and always ends the editor.
local scenario = os.getenv('SCENARIO')
local cartella = os.getenv('CARTELLA')
local editori = os.getenv('EDITORI')
local risultati = assert(io.open(os.getenv('RISULTATI'), 'w'))

local function scrivi(chiave, valore)
  risultati:write(chiave .. '=' .. tostring(valore):gsub('\n', '\\n') .. '\n')
  risultati:flush()
end

local function fine()
  risultati:close()
  vim.cmd('qall!')
end

local ok, errore = pcall(function()
  -- The files as installed: file-type detection, highlighting, the client's start.
  vim.opt.runtimepath:prepend(editori .. '/vim')
  vim.opt.runtimepath:prepend(editori .. '/nvim')
  vim.g.scenario_lsp_comando = { scenario, 'lsp' }
  vim.cmd('filetype plugin on')
  vim.cmd('syntax on')

  -- The train source, with a signal on a station's cell.
  vim.cmd('edit ' .. cartella .. '/Mia_1-.txt')
  local treno = vim.api.nvim_get_current_buf()
  local client = vim.g.scenario_lsp_cliente
  scrivi('filetype', vim.bo.filetype)
  scrivi('client', client ~= nil)
  for i, r in ipairs(vim.api.nvim_buf_get_lines(treno, 0, -1, false)) do
    if r:find('^stazione') then
      scrivi('sintassi', vim.fn.synIDattr(vim.fn.synID(i, 1, 1), 'name') .. ',' ..
        vim.fn.synIDattr(vim.fn.synID(i, r:find('%d'), 1), 'name'))
      break
    end
  end
  scrivi('diagnostica', vim.wait(10000, function() return #vim.diagnostic.get(treno) > 0 end, 20))
  local d = vim.diagnostic.get(treno)[1]
  if d then
    scrivi('riga', d.lnum)
    scrivi('colonna', d.col)
    scrivi('codice', d.code)
    scrivi('gravita', d.severity)
    scrivi('messaggio', d.message)
  end

  -- Go to definition from the error: the station's row.
  vim.api.nvim_win_set_cursor(0, { d.lnum + 1, d.col })
  vim.lsp.buf.definition()
  vim.wait(5000, function() return vim.api.nvim_win_get_cursor(0)[1] ~= d.lnum + 1 end, 20)
  scrivi('definizione', vim.api.nvim_get_current_line())

  -- The fix: the signal moved off the station's cell.
  local righe = vim.api.nvim_buf_get_lines(treno, 0, -1, false)
  for i, r in ipairs(righe) do
    local da = r:find('8150', 1, true)
    if da then vim.api.nvim_buf_set_text(treno, i - 1, da - 1, i - 1, da + 3, { '9500' }) end
  end
  scrivi('risolta', vim.wait(10000, function() return #vim.diagnostic.get(treno) == 0 end, 20))

  -- The line source, opened beside it: the same server.
  vim.cmd('edit ' .. cartella .. '/Mia_linea.txt')
  local linea = vim.api.nvim_get_current_buf()
  scrivi('stesso_client', vim.g.scenario_lsp_cliente == client)
  vim.wait(10000, function() return vim.lsp.buf_is_attached(linea, client) end, 20)

  -- Hover on a gradient value: the floating window's text.
  for i, r in ipairs(vim.api.nvim_buf_get_lines(linea, 0, -1, false)) do
    if r:find('^pendenza,    2000') then
      vim.api.nvim_win_set_cursor(0, { i, r:find('6', 18, true) - 1 })
      break
    end
  end
  vim.lsp.buf.hover()
  local testo = nil
  vim.wait(5000, function()
    for _, w in ipairs(vim.api.nvim_list_wins()) do
      if vim.api.nvim_win_get_config(w).relative ~= '' then
        testo = table.concat(vim.api.nvim_buf_get_lines(vim.api.nvim_win_get_buf(w), 0, -1, false), '\n')
        return true
      end
    end
    return false
  end, 20)
  scrivi('hover', testo)

  -- Completion at the start of a body line, as the omnifunc's list shows it.
  for i, r in ipairs(vim.api.nvim_buf_get_lines(linea, 0, -1, false)) do
    if r:find('^pendenza,    3800') then
      vim.api.nvim_buf_set_lines(linea, i - 1, i - 1, false, { '' })
      vim.api.nvim_win_set_cursor(0, { i, 0 })
      break
    end
  end
  local params = vim.lsp.util.make_position_params()
  local risposte = vim.lsp.buf_request_sync(linea, 'textDocument/completion', params, 5000) or {}
  local etichette = {}
  for _, r in pairs(risposte) do
    for _, voce in ipairs(vim.lsp.util.text_document_completion_list_to_complete_items(r.result, '')) do
      table.insert(etichette, voce.word)
    end
  end
  scrivi('completamento', table.concat(etichette, ','))

  -- The editor ends the server with shutdown and exit.
  local c = vim.lsp.get_client_by_id(client)
  vim.lsp.stop_client(client)
  scrivi('fermato', vim.wait(5000, function() return c.is_stopped() end, 20))
end)
if not ok then scrivi('errore', errore) end
fine()
