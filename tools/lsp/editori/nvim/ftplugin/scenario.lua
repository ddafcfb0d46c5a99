-- Neovim (0.7 and later): `scenario lsp` for the scenario sources, one
-- server for the editor, attached to every source opened: the errors and
-- warnings of `scenario check` as you type, K for hover, CTRL-] and gd to go
-- to a culprit or a station, CTRL-X CTRL-O to complete.
--   vim.g.scenario_lsp = false          turns it off
--   vim.g.scenario_lsp_comando = {...}  runs another command than { 'scenario', 'lsp' }
if vim.g.scenario_lsp == false or vim.g.scenario_lsp == 0 then
  return
end
local comando = vim.g.scenario_lsp_comando or { 'scenario', 'lsp' }
if vim.fn.executable(comando[1]) ~= 1 then
  return
end

local buf = vim.api.nvim_get_current_buf()
local id = vim.g.scenario_lsp_cliente
if id == nil or vim.lsp.get_client_by_id(id) == nil then
  id = vim.lsp.start_client({ name = 'scenario', cmd = comando, root_dir = vim.fn.getcwd() })
  vim.g.scenario_lsp_cliente = id
end
if id == nil then
  return
end
vim.lsp.buf_attach_client(buf, id)
vim.bo[buf].omnifunc = 'v:lua.vim.lsp.omnifunc'
vim.bo[buf].tagfunc = 'v:lua.vim.lsp.tagfunc'
vim.keymap.set('n', 'K', vim.lsp.buf.hover, { buffer = buf })
vim.keymap.set('n', 'gd', vim.lsp.buf.definition, { buffer = buf })
local annulla = 'setlocal omnifunc< tagfunc< | silent! nunmap <buffer> K | silent! nunmap <buffer> gd'
local prima = vim.b[buf].undo_ftplugin
vim.b[buf].undo_ftplugin = (prima ~= nil and prima ~= '') and (prima .. ' | ' .. annulla) or annulla
