function test_help()
  % 'help NAME' for every gateway, and the list of them all.
  names = gateway_names();
  check_eq(numel(names), 21, 'twenty-one gateways in the list');
  contents = evalc('help Contents');
  for i = 1:numel(names)
    text = evalc(['help ' names{i}]);
    check(~isempty(strfind(text, [names{i} '('])), [names{i} ': help shows the calling form']);
    check(~isempty(strfind(text, 'Example')), [names{i} ': help has an example']);
    check(~isempty(strfind(contents, names{i})), [names{i} ' is listed in Contents']);
    check_eq(exist(names{i}), 3, [names{i} ' is still the MEX file']);
  end
  done_checks();
end
