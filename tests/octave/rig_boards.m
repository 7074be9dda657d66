function boards = rig_boards()
  % The number of boards of the rig: boards 0 on, up to the first the
  % driver refuses (at most 64 looked at).
  boards = 0;
  while boards < 64
    [~, status] = cbBoardLabel(boards);
    if status ~= 0, break; end
    boards = boards + 1;
  end
end
